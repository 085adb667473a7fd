// decodeEntryText and the encoders on arbitrary text.
//
// Properties: decoding never makes a line longer; a text escaped the way
// extraction escapes it decodes back to itself; the terminators are exactly
// the ones asked for, and an encoding holds no zero byte before its end.

#include "fuzz/fuzz_support.h"
#include "tests/support/escaped_line.h"
#include "writeback/entry_text.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrin;

namespace {

// The printable ASCII bytes and code page 936 pairs of the input, in order:
// the kind of text extraction validates.
std::string validText(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0x7E)) {
            text += static_cast<char>(c);
        } else if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                text += bytes.substr(i, 2);
                ++i;
            }
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = bytes.substr(0, bytes.find('\0'));

    const std::string decoded = decodeEntryText(text);
    if (decoded.size() > text.size()) fuzz::fail("decoding made the line longer");

    const std::string valid = validText(bytes);
    const std::string escaped = test::escapedLine(valid);
    if (decodeEntryText(escaped) != valid) fuzz::fail("an escaped text does not decode back to itself");

    const std::string utf16 = encodeUtf16(text, false);
    if (utf16.size() % 2 != 0) fuzz::fail("UTF-16 of odd length");
    if (encodeUtf16(text, true) != utf16 + std::string(2, '\0')) fuzz::fail("UTF-16 terminator");
    for (std::size_t i = 0; i < utf16.size(); i += 2)
        if (utf16[i] == 0 && utf16[i + 1] == 0) fuzz::fail("zero code unit inside a UTF-16 encoding");

    const std::string utf8 = encodeUtf8(text, false);
    if (encodeUtf8(text, true) != utf8 + '\0') fuzz::fail("UTF-8 terminator");
    if (utf8.find('\0') != std::string::npos) fuzz::fail("zero byte inside a UTF-8 encoding");

    // Any bytes at all, odd lengths included, as UTF-16LE input.
    const std::string fromUtf16 = utf16ToUtf8(bytes, false);
    if (utf16ToUtf8(bytes, true) != fromUtf16 + '\0') fuzz::fail("utf16ToUtf8 terminator");
    if (fromUtf16.find('\0') != std::string::npos) fuzz::fail("zero byte inside utf16ToUtf8");
    return 0;
}
