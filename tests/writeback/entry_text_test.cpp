#include "writeback/entry_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin {
namespace {

struct DecodeCase {
    const char* name;
    std::string line;
    std::string bytes;
};

TEST(DecodeEntryText, UndoesEscapesAndKeepsTrailBackslashes) {
    const std::vector<DecodeCase> cases = {
        {"plain", "abc", "abc"},
        {"tab", "a\\tb", "a\tb"},
        {"even run keeps the letter", "a\\\\tb", "a\\tb"},
        {"odd run of three", "a\\\\\\tb", "a\\\tb"},
        {"lone backslash before another letter", "C:\\d", "C:\\d"},
        {"quote", "\\\"", "\""},
        {"cr and lf", "x\\r\\ny", "x\r\ny"},
        {"other escapes stay", "\\x41", "\\x41"},
        {"odd run ending the line keeps one", "ab\\\\\\", "ab\\\\"},
        {"single backslash at the end", "ab\\", "ab\\"},
        {"trail backslash then a real escape", "\x95\x5C\\n", "\x95\x5C\n"},
        // 0x95 0x5C is one character; the backslash after it is real and doubled.
        {"trail backslash next to a doubled one", "\x95\x5C\\\\n", "\x95\x5C\\n"},
        {"no real backslash at all", "\x95\x5C\x95\x5C", "\x95\x5C\x95\x5C"},
        // 0x80 is no lead byte: its 0x81 0x5C neighbour forms the character, so
        // the only backslash is a trail byte; nothing may be lost.
        {"only trail backslashes after an odd lead", "\x80\x81\x5Cz", "\x80\x81\x5Cz"},
        {"marker byte in the line becomes a backslash", std::string("\x95\x5C\x08\\t"), "\x95\x5C\x5C\t"},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeEntryText(c.line), c.bytes) << c.name;
}

TEST(EncodeText, Utf16AndUtf8WithAndWithoutTerminator) {
    const std::string zhongwen = "\xD6\xD0\xCE\xC4"; // 中文
    EXPECT_EQ(encodeUtf16("", true), std::string(2, '\0'));
    EXPECT_EQ(encodeUtf16("", false), "");
    EXPECT_EQ(encodeUtf16(zhongwen, false), "\x2D\x4E\x87\x65");
    EXPECT_EQ(encodeUtf16("A", true), std::string("A\0\0\0", 4));
    EXPECT_EQ(encodeUtf8(zhongwen, true), std::string("\xE4\xB8\xAD\xE6\x96\x87\0", 7));
    EXPECT_EQ(encodeUtf8(zhongwen, false), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(encodeUtf8("", true), std::string(1, '\0'));
    // The text ends at its first zero byte.
    EXPECT_EQ(encodeUtf16(std::string("a\0b", 3), false), std::string("a\0", 2));
}

TEST(EncodeText, Utf16ToUtf8StopsAtTheFirstZeroUnit) {
    EXPECT_EQ(utf16ToUtf8(std::string("a\0\0\0b\0", 6), true), std::string("a\0", 2));
    EXPECT_EQ(utf16ToUtf8(std::string("a\0b", 3), false), "ab");
}

} // namespace
} // namespace kestrin
