#include "writeback/write_back_settings.h"

#include "core/file_io.h"

#include <array>

namespace kestrin {
namespace {

constexpr std::string_view kPlainCaption = "自动修改字串长度标识";
constexpr std::string_view kDelphiCaption = "自动修改字串长度标识（Delphi）";
constexpr std::string_view kVbCaption = "自动修改字串长度标识（VB）";

constexpr std::array<WriteBackModeInfo, kWriteBackModeCount> kModes{{
    {WriteBackMode::WriteAscii, "ASCII", false, kPlainCaption, false, ".a.txt"},
    {WriteBackMode::WriteUnicode, "UniCode", true, kPlainCaption, false, ".u.txt"},
    {WriteBackMode::WriteUtf8, "UTF8", false, kPlainCaption, false, ".u8.txt"},
    {WriteBackMode::WriteDelphiAscii, "Delphi[ASCII]", false, kDelphiCaption, true, ".d.txt"},
    {WriteBackMode::WriteDelphiUnicode, "Delphi[UniCode]", true, kDelphiCaption, true, ".du.txt"},
    {WriteBackMode::WriteVbUnicode, "VB[UniCode]", true, kVbCaption, true, ".vb.txt"},
}};

} // namespace

std::optional<WriteBackMode> writeBackModeAt(int index) {
    if (index < 0 || index >= kWriteBackModeCount) return std::nullopt;
    return kModes[static_cast<std::size_t>(index)].mode;
}

const WriteBackModeInfo& writeBackModeInfo(WriteBackMode mode) {
    return kModes[static_cast<std::size_t>(mode)];
}

std::optional<WriteBackModeUpdate> applyWriteBackMode(int index, const std::filesystem::path& programPath) {
    const auto mode = writeBackModeAt(index);
    if (!mode) return std::nullopt;
    const auto& info = writeBackModeInfo(*mode);
    WriteBackModeUpdate update;
    update.utf16Target = info.utf16Target;
    update.lengthPrefixCaption = std::string(info.lengthPrefixCaption);
    update.updateLengthPrefix = info.lengthPrefixChecked;
    update.comparisonPath = appendToPath(programPath, info.suffix);
    return update;
}

std::optional<WriteBackModeUpdate> applyWriteBackMode(int index, const std::filesystem::path& programPath,
                                                      WriteBackSettings& settings) {
    auto update = applyWriteBackMode(index, programPath);
    if (!update) return std::nullopt;
    settings.mode = *writeBackModeAt(index);
    settings.utf16Target = update->utf16Target;
    settings.updateLengthPrefix = update->updateLengthPrefix;
    return update;
}

RangeControls rangeControlsFor(bool useRange) {
    return useRange ? RangeControls{true, "选择性回写"} : RangeControls{false, "全部回写"};
}

bool rangeBoxAcceptsCharacter(char32_t character) { return character >= U'0' && character <= U'9'; }

std::string rangeBoxFilter(std::string_view typed) {
    std::string digits;
    for (char c : typed) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

bool comparisonDropAccepted(const std::filesystem::path& path) {
    const std::string name = pathText(path);
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return tail == ".txt";
}

} // namespace kestrin
