#pragma once

// Byte strings and code page 936 texts.
//
// A byte string is a std::string holding any bytes. A text is a byte string in
// code page 936 that ends at its first zero byte; a byte of 0x80 or more starts
// a two-byte character together with the byte after it, and text searches only
// try a match where a character begins.
//
// The named text operations count positions from 1 and answer -1 when nothing
// is found, so that the job algorithms can be read against their descriptions.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

using RapidBinary = std::string;
using RapidString = std::string;

// Bytes before the first zero byte (all of them when there is none).
std::string_view textOf(std::string_view bytes);

// Length in bytes of the character that begins with this byte (1 or 2).
inline int characterWidth(unsigned char lead) { return lead >= 0x80 ? 2 : 1; }

std::string_view textLeft(std::string_view text, std::int64_t n);
std::string_view textRight(std::string_view text, std::int64_t n);

// Position (from 1) of the first occurrence of part at or after start, tried
// only where a character begins; -1 when there is none. An empty part gives 1
// for a non-empty text.
std::int64_t findText(std::string_view text, std::string_view part, std::int64_t start = 1,
                      bool ignoreCase = false);

// Position of the last occurrence, tried only where a character begins; with
// a limit (> 0) only occurrences lying wholly before position limit count.
std::int64_t findTextReverse(std::string_view text, std::string_view part, std::int64_t limit = 0,
                             bool ignoreCase = false);

// Replaces occurrences of part found from start onward, left to right without
// overlap, at most count of them (count < 0: all).
std::string replaceText(std::string_view text, std::string_view part, std::string_view replacement,
                        std::int64_t start = 1, std::int64_t count = -1, bool caseSensitive = true);

// 0 when equal; without case sensitivity ASCII letters compare regardless of case.
int compareText(std::string_view a, std::string_view b, bool caseSensitive);

// The number the text begins with: blanks (space, TAB), an optional sign,
// digits, an optional point and fraction, an optional exponent. 0 when the
// text does not begin with a number. "0x10" reads 0, ".5" reads 0.
double textToNumber(std::string_view text);

// Decimal digits with a minus sign when negative.
std::string numberToText(std::int64_t value);

// Two real numbers are equal when they differ by at most 1e-7.
bool numbersEqual(double a, double b);

// Replaces every occurrence of from by to in place, from byte index start
// (0-based), left to right without overlap; replaced bytes are never searched
// again. At most maxCount replacements (< 0: all). Returns the number replaced.
std::int64_t replaceAllBytes(std::string& bytes, std::string_view from, std::string_view to,
                             std::size_t start = 0, std::int64_t maxCount = -1);

// Little-endian reads that treat bytes past the end as zero.
std::uint32_t readUint32Le(std::string_view bytes, std::int64_t index);
std::uint16_t readUint16Le(std::string_view bytes, std::int64_t index);
std::uint8_t readUint8(std::string_view bytes, std::int64_t index);

void appendUint32Le(std::string& out, std::uint32_t value);

} // namespace kestrin
