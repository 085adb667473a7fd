#pragma once

// The comparison file's fixed texts: the suffixes that tie a comparison file
// to a string kind, and the patterns with which the readers find entries.

#include <string_view>

namespace kestrin::comparison {

inline constexpr std::string_view kAnsiSuffix = ".a.txt";
inline constexpr std::string_view kUtf16Suffix = ".u.txt";
inline constexpr std::string_view kUtf8Suffix = ".u8.txt";
inline constexpr std::string_view kDelphiAnsiSuffix = ".d.txt";
inline constexpr std::string_view kDelphiUtf16Suffix = ".du.txt";
inline constexpr std::string_view kVbSuffix = ".vb.txt";

inline constexpr std::string_view kLineBreak = "\r\n";

// Original lines (line-wise readers).
inline constexpr const char* kOriginalLinePattern = "^\\d+:(.*?)$";
inline constexpr const char* kOriginalLineGroupsPattern = "(^\\d+):(.*?)$";
// An original line whose text itself begins with digits and a colon.
inline constexpr const char* kDigitsColonTextPattern = "^\\d+:\\d+:(.*?)$";
// ini lines: key, "=", value.
inline constexpr const char* kIniLinePattern = "(^\\d+)=(.*?)$";
// An original line together with the line after it (the write-back reader):
// 1 offset, 2 original text, 3 its leading digits-and-colon run,
// 6 translation line, 7 its leading run.
inline constexpr const char* kEntryPairPattern = "(^\\d+):(((\\d+:)*).*?)(\\r\\n)+(((\\d+:)*).*?)$";

} // namespace kestrin::comparison
