#include "extract/extraction_settings.h"

#include "core/byte_text.h"
#include "core/file_io.h"

#include <cmath>

namespace kestrin {

namespace {

struct ModeInfo {
    std::string_view caption;
    std::string_view suffix;
    std::string_view name;
};

constexpr ModeInfo kModes[kExtractionModeCount] = {
    {"ASCII[VA]", ".a.txt", "ascii-va"},
    {"ASCII[全部]", ".a.txt", "ascii"},
    {"UniCode[VA]", ".u.txt", "utf16-va"},
    {"UniCode[全部]", ".u.txt", "utf16"},
    {"Delphi字串[ASCII]", ".d.txt", "delphi-ascii"},
    {"Delphi字串[Unicode]", ".du.txt", "delphi-utf16"},
    {"VB字串[Unicode]", ".vb.txt", "vb"},
    {"UTF8[全部]", ".u8.txt", "utf8"},
};

const ModeInfo& infoOf(ExtractionMode mode) { return kModes[extractionModeIndex(mode)]; }

bool anyDoubleByteBox(const ClassBoxStates& checked) { return checked[Gb2312Box] || checked[GbkBox] || checked[Big5Box]; }

} // namespace

std::optional<ExtractionMode> extractionModeAt(int index) {
    if (index < 0 || index >= kExtractionModeCount) return std::nullopt;
    return static_cast<ExtractionMode>(index);
}

int extractionModeIndex(ExtractionMode mode) { return static_cast<int>(mode); }
std::string_view extractionModeCaption(ExtractionMode mode) { return infoOf(mode).caption; }
std::string_view extractionModeSuffix(ExtractionMode mode) { return infoOf(mode).suffix; }
std::string_view extractionModeName(ExtractionMode mode) { return infoOf(mode).name; }

std::optional<ExtractionMode> extractionModeNamed(std::string_view name) {
    for (int i = 0; i < kExtractionModeCount; ++i)
        if (kModes[i].name == name) return static_cast<ExtractionMode>(i);
    return std::nullopt;
}

bool isAddressBasedMode(ExtractionMode mode) { return mode == ExtractionMode::AsciiVa || mode == ExtractionMode::Utf16Va; }

std::filesystem::path suggestOutputName(const std::filesystem::path& programPath, ExtractionMode mode) {
    return appendToPath(programPath, extractionModeSuffix(mode));
}

ExtractionModeChange applyExtractionMode(ExtractionMode mode, const std::filesystem::path& programPath,
                                         ExtractionSettings& settings) {
    ExtractionModeChange change;
    settings.skipPeCheck = !isAddressBasedMode(mode);
    change.overlapBoxEnabled = !settings.skipPeCheck;
    if (!programPath.empty()) change.outputPath = suggestOutputName(programPath, mode);
    return change;
}

std::int32_t minLengthOf(std::string_view text) {
    const double value = std::trunc(textToNumber(text));
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(value);
}

ClassBoxEffect applyClassBoxClick(ClassBox box, const ClassBoxStates& checked, std::string_view asciiLengthText,
                                  std::string_view mixedLengthText, ExtractionSettings& settings) {
    ClassBoxEffect effect;
    const bool plain = checked[PlainEnglishBox];
    if (box == PlainEnglishBox) {
        if (plain) {
            effect.junkBoxEnabled = true;
            settings.requireDoubleByte = false;
            if (anyDoubleByteBox(checked)) {
                settings.textClassMode = TextClassMode::Mixed;
                settings.minLength = minLengthOf(mixedLengthText);
            } else {
                settings.textClassMode = TextClassMode::AsciiOnly;
                settings.minLength = minLengthOf(asciiLengthText);
            }
        } else if (anyDoubleByteBox(checked)) {
            effect.junkBoxEnabled = false;
            settings.textClassMode = TextClassMode::Mixed;
            settings.minLength = minLengthOf(mixedLengthText);
            settings.requireDoubleByte = true;
        }
        // Turned off with no double-byte class on: nothing changes; the job
        // refuses to run while no box is on.
        return effect;
    }

    if (checked[box]) {
        for (int other = Gb2312Box; other <= Big5Box; ++other)
            if (other != box) effect.classBoxEnabled[other] = false;
        effect.junkBoxEnabled = plain;
        settings.doubleByteClass = static_cast<std::uint8_t>(box); // the box order is the class order
        settings.textClassMode = TextClassMode::Mixed;
        settings.minLength = minLengthOf(mixedLengthText);
        settings.requireDoubleByte = !plain;
        return effect;
    }

    for (int other = Gb2312Box; other <= Big5Box; ++other)
        if (other != box) effect.classBoxEnabled[other] = true;
    if (plain) {
        effect.junkBoxEnabled = true;
        settings.textClassMode = TextClassMode::AsciiOnly;
        settings.minLength = minLengthOf(asciiLengthText);
        settings.requireDoubleByte = false;
    }
    return effect;
}

void deriveClassSettings(const ClassBoxStates& checked, std::string_view asciiLengthText,
                         std::string_view mixedLengthText, ExtractionSettings& settings) {
    ClassBoxStates state{checked[PlainEnglishBox], false, false, false};
    applyClassBoxClick(PlainEnglishBox, state, asciiLengthText, mixedLengthText, settings);
    for (int box = Gb2312Box; box <= Big5Box; ++box) {
        if (!checked[box]) continue;
        state[box] = true;
        applyClassBoxClick(static_cast<ClassBox>(box), state, asciiLengthText, mixedLengthText, settings);
        break;
    }
}

bool minLengthBoxAcceptsCharacter(char32_t character) {
    return character != U'-' && character >= U'0' && character <= U'9';
}

std::string minLengthTextChanged(std::string_view text) {
    if (text == "0") return {};
    if (textToNumber(text) > kMinLengthLimit) return "2048";
    return std::string(text);
}

std::string minLengthFocusLost(MinLengthBox box, std::string_view text, ExtractionSettings& settings) {
    const TextClassMode owner = box == MinLengthBox::PlainEnglish ? TextClassMode::AsciiOnly : TextClassMode::Mixed;
    std::string result(text);
    if (textToNumber(text) <= 0) result = "1";
    if (settings.textClassMode == owner) settings.minLength = minLengthOf(result);
    return result;
}

std::int32_t clampMinLength(long long value) {
    if (value <= 0) return 1;
    if (value > kMinLengthLimit) return kMinLengthLimit;
    return static_cast<std::int32_t>(value);
}

} // namespace kestrin
