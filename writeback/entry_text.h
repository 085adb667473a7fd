#pragma once

// Comparison-file lines to the bytes that stand, or are to stand, in a
// program file: undoing the escapes, and encoding as UTF-16LE or UTF-8.

#include <string>
#include <string_view>

namespace kestrin {

// A backslash that is the second byte of a double-byte character stands in
// as this byte while escapes are undone, so that it is never taken for one.
inline constexpr char kTrailBackslashMarker = '\x08';

// Undoes the escapes of a code page 936 line (no line break, no zero byte):
// a run of n backslashes gives n/2 backslashes; an odd run followed by t, r,
// n or a double quote turns that character into TAB, CR, LF or the quote.
std::string decodeEntryText(std::string_view text);

// The text (up to its first zero byte) as UTF-16LE, plus 00 00 when asked.
std::string encodeUtf16(std::string_view text, bool withTerminator = true);

// The text as UTF-8, plus one zero byte when asked.
std::string encodeUtf8(std::string_view text, bool withTerminator = true);

// UTF-16LE bytes up to their first zero code unit as UTF-8, plus one zero byte
// when asked.
std::string utf16ToUtf8(std::string_view utf16LeBytes, bool withTerminator);

} // namespace kestrin
