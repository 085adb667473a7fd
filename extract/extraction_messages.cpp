#include "extract/extraction_messages.h"

#include "core/elapsed.h"
#include "core/file_io.h"

namespace kestrin {

std::string programReadFailedMessage(const std::filesystem::path& programPath) {
    return "读取“" + pathText(programPath) + "”失败！请检查文件是否正在被其它程序使用，并且共享方式设置为“禁止读”。";
}

std::string outputOpenFailedMessage(const std::filesystem::path& outputPath) {
    return " 请检查文件“" + pathText(outputPath) + "”是否正在被其它程序使用，并且共享方式设置为“禁止写”。";
}

std::string completionMessage(std::string_view head, double seconds) {
    return std::string(head) + elapsedText(seconds) + std::string(kDoneTail);
}

} // namespace kestrin
