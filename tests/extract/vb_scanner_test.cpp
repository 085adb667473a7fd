#include "extract/vb_scanner.h"

#include "tests/extract/scanner_fixtures.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

using test::entry;
using test::hex;
using test::mixedText;
using test::plainText;

std::string utf16Letters(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<char>('a' + i % 26));
        out.push_back('\0');
    }
    return out;
}

struct Case {
    const char* name;
    ExtractionSettings settings;
    std::string bytes;
    std::string expected;
    std::int64_t candidates;
};

TEST(VbScanner, FindsStringsByTheZeroHalfOfTheirLength) {
    std::string longText;
    for (int i = 0; i < 128; ++i) longText += static_cast<char>('a' + i % 26);
    const Case cases[] = {
        {"one-byte length before three zeros", plainText(), hex("58 04 00 00 00 41 00 42 00 00 00"), entry(5, "AB"),
         1},
        {"two-byte length", plainText(), hex("58 00 01 00 00") + utf16Letters(128) + hex("00 00"), entry(5, longText),
         1},
        {"length from the file's first byte", plainText(), hex("04 00 00 41 00 42 00 00 00"), entry(3, "AB"), 1},
        {"odd length", plainText(), hex("58 03 00 00 00 41 00 42 00 00 00"), "", 0},
        {"length 0", plainText(), hex("00 00 00 00 00 00 41 00 00 00"), "", 0},
        {"zero pair inside the text", plainText(), hex("58 06 00 00 00 41 00 00 00 42 00 00 00"), "", 0},
        {"unprintable unit counts but gives nothing", plainText(), hex("58 02 00 00 00 01 00 00 00"), "", 1},
        {"GBK 中文", mixedText(2), hex("58 04 00 00 00 2D 4E 87 65 00 00"), entry(5, "\xD6\xD0\xCE\xC4"), 1},
        {"first unit with a zero low byte, mixed", mixedText(2), hex("58 02 00 00 00 00 4E 00 00"),
         entry(5, "\xD2\xBB"), 1},
        {"first unit with a zero low byte, plain", plainText(), hex("58 02 00 00 00 00 4E 00 00"), "", 0},
        {"only zero pair at the first byte", plainText(), hex("00 00 41 00"), "", 0},
        {"length past the end", plainText(), hex("58 FE FF 00 00 41 00 00 00"), "", 0},
        {"no zero pair", plainText(), hex("41 00 42 00 43"), "", 0},
    };
    for (const Case& c : cases) {
        const test::SearchOutcome out = test::runSearch(searchVbStrings, c.bytes, c.settings);
        EXPECT_EQ(out.entries, c.expected) << c.name;
        EXPECT_EQ(out.maximums, std::vector<std::int64_t>{c.candidates}) << c.name;
        EXPECT_EQ(out.steps, c.candidates) << c.name;
    }
}

TEST(VbScanner, TextOf65536BytesIsNotRecognisedByItsLength) {
    // The length field 00 00 01 00 has no zero upper half.
    const std::string bytes = hex("00 00 01 00") + utf16Letters(32768) + hex("00 00");
    EXPECT_EQ(test::runSearch(searchVbStrings, bytes, plainText()).entries, "");
}

} // namespace
} // namespace kestrin
