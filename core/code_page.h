#pragma once

// Conversions between code page 936 (GBK), UTF-16 and UTF-8. Conversions never
// fail: an invalid sequence becomes the converter's substitute character, and a
// character that code page 936 cannot represent becomes "?".

#include <string>
#include <string_view>

namespace kestrin {

std::u16string cp936ToUtf16(std::string_view bytes);
std::string utf16ToCp936(std::u16string_view text);

std::u16string utf8ToUtf16(std::string_view bytes);
std::string utf16ToUtf8(std::u16string_view text);

std::string cp936ToUtf8(std::string_view bytes);
std::string utf8ToCp936(std::string_view bytes);

// UTF-16 code units to and from their little-endian bytes; an odd last byte
// is dropped.
std::string utf16ToLeBytes(std::u16string_view text);
std::u16string leBytesToUtf16(std::string_view bytes);

} // namespace kestrin
