#pragma once

// The extraction settings record and the rules by which the extraction
// panel's controls set it. The rules are pure functions, so that the window
// and the command line derive the same record from the same choices; a
// control's handler calls the rule with the controls' states after the event
// and applies what it answers.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// Which character classes count as text.
enum class TextClassMode : std::uint8_t {
    None = 0,      // only before start-up
    AsciiOnly = 1, // only plain English and symbols
    Mixed = 2,     // a double-byte class is on, with or without plain English
};

// The extraction modes in the order of the panel's mode list (index 0 to 7).
enum class ExtractionMode {
    AsciiVa,     // "ASCII[VA]"
    AsciiWhole,  // "ASCII[全部]"
    Utf16Va,     // "UniCode[VA]"
    Utf16Whole,  // "UniCode[全部]"
    DelphiAscii, // "Delphi字串[ASCII]"
    DelphiUtf16, // "Delphi字串[Unicode]"
    VbUtf16,     // "VB字串[Unicode]"
    Utf8Whole,   // "UTF8[全部]"
};

inline constexpr int kExtractionModeCount = 8;

// The double-byte classes (doubleByteClass).
inline constexpr std::uint8_t kNoDoubleByteClass = 0;
inline constexpr std::uint8_t kGb2312Class = 1; // GB2312 extended
inline constexpr std::uint8_t kGbkClass = 2;
inline constexpr std::uint8_t kBig5Class = 3;

// Everything the scanners read. The initial values are the panel's start
// state. The program path, the output path and the mode are handed to the job
// separately.
struct ExtractionSettings {
    TextClassMode textClassMode = TextClassMode::AsciiOnly;
    std::uint8_t doubleByteClass = kNoDoubleByteClass; // keeps its last value when its box is turned off
    std::int32_t minLength = 2;                        // minimum candidate length in ANSI bytes
    bool requireDoubleByte = false; // all-ASCII candidates are dropped
    bool junkFilter = false;        // drop texts without two adjacent letters
    bool escapeQuotes = false;      // write a double quote as backslash and quote
    bool overlapFilter = true;      // address-based modes: skip strings inside the previous one
    bool skipPeCheck = false;       // the mode is not address-based
};

// ---- Modes -----------------------------------------------------------------

// The mode at a list index; nullopt outside 0 to 7.
std::optional<ExtractionMode> extractionModeAt(int index);
int extractionModeIndex(ExtractionMode mode);
// The mode list's item text (UTF-8).
std::string_view extractionModeCaption(ExtractionMode mode);
// The comparison file suffix of a mode (".a.txt", ".u.txt", ...).
std::string_view extractionModeSuffix(ExtractionMode mode);
// The command-line name of a mode ("ascii-va", "ascii", ...), and back.
std::string_view extractionModeName(ExtractionMode mode);
std::optional<ExtractionMode> extractionModeNamed(std::string_view name);
// True for the two address-based modes, which need a 32-bit PE image.
bool isAddressBasedMode(ExtractionMode mode);

// The proposed output path: the program path followed by the mode's suffix;
// the program keeps its own extension (x.exe gives x.exe.a.txt).
std::filesystem::path suggestOutputName(const std::filesystem::path& programPath, ExtractionMode mode);

// What a change of the mode list does: sets skipPeCheck; the overlap filter
// box is enabled exactly for the address-based modes (its check state and
// overlapFilter stay); the output path is proposed anew when a program path
// is present.
struct ExtractionModeChange {
    bool overlapBoxEnabled = true;
    std::optional<std::filesystem::path> outputPath; // nullopt: the output box stays
};
ExtractionModeChange applyExtractionMode(ExtractionMode mode, const std::filesystem::path& programPath,
                                         ExtractionSettings& settings);

// ---- Class boxes -----------------------------------------------------------

// The four boxes of the "编码类型" group, in their order.
enum ClassBox : int {
    PlainEnglishBox = 0, // "纯英文和符号"
    Gb2312Box = 1,       // "GB2312[扩展]"
    GbkBox = 2,          // "GBK[全部]"
    Big5Box = 3,         // "BIG5[全部]"
};

// Check states of the four class boxes, indexed by ClassBox.
using ClassBoxStates = std::array<bool, 4>;

// Enable-state changes a class box click asks for; nullopt: unchanged.
struct ClassBoxEffect {
    std::array<std::optional<bool>, 4> classBoxEnabled;
    std::optional<bool> junkBoxEnabled;
};

// A click on a class box, after the click has changed its state. checked
// holds all four states after the click; the two minimum-length texts are the
// boxes' current texts (plain English, mixed). Updates the record and answers
// the enable changes. The handler never changes another box's check state.
ClassBoxEffect applyClassBoxClick(ClassBox box, const ClassBoxStates& checked, std::string_view asciiLengthText,
                                  std::string_view mixedLengthText, ExtractionSettings& settings);

// True when at least one class box is on (the job refuses to run otherwise).
inline bool anyClassBoxOn(const ClassBoxStates& checked) {
    return checked[0] || checked[1] || checked[2] || checked[3];
}

// The record as a set of class boxes and minimum-length texts gives it, as the
// clicks of the panel would leave it (used by the command line): plain English
// only gives AsciiOnly with the plain-English minimum; a double-byte class
// gives Mixed with the mixed minimum and requireDoubleByte when plain English
// is off. At most one double-byte class may be on; the first one counts.
void deriveClassSettings(const ClassBoxStates& checked, std::string_view asciiLengthText,
                         std::string_view mixedLengthText, ExtractionSettings& settings);

// ---- Minimum-length boxes --------------------------------------------------

enum class MinLengthBox {
    PlainEnglish, // "纯英文:", belongs to AsciiOnly
    Mixed,        // "中英混合:", belongs to Mixed
};

inline constexpr int kMinLengthLimit = 2048;

// A typed character: the minus sign is refused, and the box admits digits
// only.
bool minLengthBoxAcceptsCharacter(char32_t character);

// The text after a change: exactly "0" becomes empty; a number above 2048
// becomes "2048". The record is not touched.
std::string minLengthTextChanged(std::string_view text);

// Leaving the box: a number of 0 or less (empty text included) becomes "1";
// when the box belongs to the current textClassMode, minLength becomes the
// box's number. Answers the box's new text.
std::string minLengthFocusLost(MinLengthBox box, std::string_view text, ExtractionSettings& settings);

// The number of a minimum-length text, cut toward zero (an empty text gives 0).
std::int32_t minLengthOf(std::string_view text);

// The command line's minimum: the box's limits applied to a typed number (0 or
// less becomes 1, above 2048 becomes 2048).
std::int32_t clampMinLength(long long value);

} // namespace kestrin
