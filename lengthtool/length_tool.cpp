#include "lengthtool/length_tool.h"

#include "core/byte_text.h"
#include "writeback/entry_text.h"

namespace kestrin {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

std::string hexLengthText(std::uint64_t count) {
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexDigits[count % 16]);
        count /= 16;
    } while (count != 0);
    if (digits.size() % 2 == 1) digits.insert(digits.begin(), '0');
    return digits;
}

std::string byteListText(std::string_view bytes) {
    std::string list;
    list.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        if (!list.empty()) list += ' ';
        list += kHexDigits[b >> 4];
        list += kHexDigits[b & 0x0F];
    }
    return list;
}

LengthToolResult computeLengthTool(std::string_view text, ToolEncoding encoding) {
    LengthToolResult result;
    result.sourceLength = text.size();
    result.sourceDecimal = std::to_string(result.sourceLength);
    result.sourceHex = hexLengthText(result.sourceLength);

    const std::string decoded = decodeEntryText(text);
    switch (encoding) {
    case ToolEncoding::Unicode: result.encodedBytes = encodeUtf16(textOf(decoded), false); break;
    case ToolEncoding::Utf8: result.encodedBytes = encodeUtf8(textOf(decoded), false); break;
    case ToolEncoding::Ascii: result.encodedBytes = decoded; break;
    }
    result.encodedDecimal = std::to_string(result.encodedBytes.size());
    result.encodedHex = hexLengthText(result.encodedBytes.size());
    result.byteList = byteListText(result.encodedBytes);
    return result;
}

} // namespace kestrin
