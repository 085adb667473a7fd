#pragma once

// The computation behind the string length and encoding tool: for a text
// written as in a comparison file, its byte length and the bytes the
// write-back would store for it.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// The tool's three encodings, in the order of its radio buttons.
enum class ToolEncoding { Ascii, Unicode, Utf8 };

struct LengthToolResult {
    std::uint64_t sourceLength = 0;  // bytes of the text as typed
    std::string sourceDecimal;       // e.g. "256"
    std::string sourceHex;           // e.g. "0100"
    std::string encodedBytes;        // decoded, then encoded, without terminator
    std::string encodedDecimal;
    std::string encodedHex;
    std::string byteList;            // "D6 D0 CE C4"; empty for no bytes
};

// Hexadecimal length text: upper-case digits, no leading zeros, one "0" in
// front when the number of digits is odd (0 -> "00", 4 -> "04", 256 -> "0100").
std::string hexLengthText(std::uint64_t count);

// Every byte as two upper-case hexadecimal digits, separated by single blanks.
std::string byteListText(std::string_view bytes);

// The tool's figures for a code page 936 text.
LengthToolResult computeLengthTool(std::string_view text, ToolEncoding encoding);

} // namespace kestrin
