#pragma once

// The messages of the extraction job (UTF-8).

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

inline constexpr std::string_view kMissingPathsMessage = "请先选择程序文件和要保存的Pomaly文件！";
inline constexpr std::string_view kNoClassMessage = "请先选择编码类型！";
inline constexpr std::string_view kNotPeMessage = "此文件非 PE 格式，无法使用“VA方式”查找字串！";
inline constexpr std::string_view kPe64Message = "此文件为 64 位 PE 格式，暂不支持“VA方式”查找字串！";

// Completion message heads; the elapsed seconds and " 秒!" follow.
inline constexpr std::string_view kAsciiDoneHead = "查找 ASCII 字串完毕，共用时: ";
inline constexpr std::string_view kUtf16DoneHead = "查找 UniCode 字串完毕，共用时: ";
inline constexpr std::string_view kDelphiAsciiDoneHead = "查找 Delphi 字串（ASCII）完毕，共用时: ";
inline constexpr std::string_view kDelphiUtf16DoneHead = "查找 Delphi 字串（UniCode）完毕，共用时: ";
inline constexpr std::string_view kVbDoneHead = "查找 VB 字串完毕，共用时: ";
inline constexpr std::string_view kUtf8DoneHead = "查找 UTF8 字串完毕，共用时: ";
inline constexpr std::string_view kDoneTail = " 秒!";

// The program file cannot be read.
std::string programReadFailedMessage(const std::filesystem::path& programPath);
// The output file cannot be created.
std::string outputOpenFailedMessage(const std::filesystem::path& outputPath);
// Head, elapsed seconds, tail.
std::string completionMessage(std::string_view head, double seconds);

} // namespace kestrin
