#pragma once

// The write-back settings record and the rules by which the write-back panel's
// controls set it. The rules are pure functions so that the window and the
// command line derive the same record from the same choices.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// The write-back modes in the order of the panel's mode list (index 0 to 5).
enum class WriteBackMode {
    WriteAscii,
    WriteUnicode,
    WriteUtf8,
    WriteDelphiAscii,
    WriteDelphiUnicode,
    WriteVbUnicode,
};

inline constexpr int kWriteBackModeCount = 6;

// The options a write-back run reads. The program path, the comparison path
// and the backup flag are handed to the job separately (see write_back_job.h).
struct WriteBackSettings {
    WriteBackMode mode = WriteBackMode::WriteAscii;
    bool utf16Target = false;        // set by applyWriteBackMode
    bool padWithSpaces = false;      // fill a shorter translation's room with spaces
    bool wholeSentence = false;      // replace whole byte sequences; the file may grow or shrink
    bool updateLengthPrefix = false; // keep Delphi and VB length fields in step
    bool useRange = false;           // only the entries between two entry numbers
    std::string rangeMinText;        // as typed
    std::string rangeMaxText;        // as typed
    bool borrowZeroBytes = true;     // a longer translation may run into the zero bytes after the original
};

// What the mode list shows for a mode and what choosing it sets.
struct WriteBackModeInfo {
    WriteBackMode mode;
    std::string_view itemText;            // the mode list's item ("ASCII", "UniCode", ...)
    bool utf16Target;
    std::string_view lengthPrefixCaption; // caption of the length-field check box (UTF-8)
    bool lengthPrefixChecked;             // the check box's state after the mode change
    std::string_view suffix;              // the comparison file's suffix (".a.txt", ...)
};

// The mode at a list index; nullopt outside 0 to 5.
std::optional<WriteBackMode> writeBackModeAt(int index);
const WriteBackModeInfo& writeBackModeInfo(WriteBackMode mode);

// The outcome of a mode change while a program path is present.
struct WriteBackModeUpdate {
    bool utf16Target = false;
    std::string lengthPrefixCaption;
    bool updateLengthPrefix = false;     // the length-field check box's new state
    std::filesystem::path comparisonPath; // program path followed by the mode's suffix
};

// The mode update for the list index; nullopt (nothing changes) for an index
// outside 0 to 5.
std::optional<WriteBackModeUpdate> applyWriteBackMode(int index, const std::filesystem::path& programPath);

// Applies the mode update to a record: sets mode, utf16Target and
// updateLengthPrefix. Returns the update, or nullopt when the index is out of
// range and the record is unchanged.
std::optional<WriteBackModeUpdate> applyWriteBackMode(int index, const std::filesystem::path& programPath,
                                                      WriteBackSettings& settings);

// While whole-sentence mode is checked the padding and length-field check
// boxes are disabled; their checked states stay.
inline bool paddingAndLengthPrefixEnabled(bool wholeSentence) { return !wholeSentence; }

// The range check box decides whether the two range boxes are enabled and
// what the write-back button reads.
struct RangeControls {
    bool rangeBoxesEnabled = false;
    std::string_view writeBackButtonCaption; // "选择性回写" or "全部回写"
};
RangeControls rangeControlsFor(bool useRange);

// The range boxes take integers only: a typed character is accepted when it is
// an ASCII digit; pasted text keeps its digits and loses everything else.
bool rangeBoxAcceptsCharacter(char32_t character);
std::string rangeBoxFilter(std::string_view typed);

// A file dropped on the comparison path box is accepted when its name ends in
// ".txt", regardless of case.
bool comparisonDropAccepted(const std::filesystem::path& path);

} // namespace kestrin
