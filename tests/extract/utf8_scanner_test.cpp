#include "extract/utf8_scanner.h"

#include "tests/extract/scanner_fixtures.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

using test::entry;
using test::hex;
using test::mixedText;
using test::plainText;

struct Case {
    const char* name;
    ExtractionSettings settings;
    std::string bytes;
    std::string expected;
};

TEST(Utf8Scanner, KeepsTheLastRunOfEachSegment) {
    const Case cases[] = {
        {"中文", mixedText(2), hex("00 E4 B8 AD E6 96 87 00 41"), entry(1, "\xD6\xD0\xCE\xC4")},
        {"AB中", mixedText(2), hex("00 41 42 E4 B8 AD 00 41"), entry(1, "AB\xD6\xD0")},
        {"two-byte sequence at the end refuses the segment", mixedText(2), hex("00 41 42 C3 A9 00 41"), ""},
        {"two-byte sequence resets the run", mixedText(2), hex("00 C3 A9 41 42 00 41"), entry(3, "AB")},
        {"lead among the last two bytes", mixedText(2), hex("00 41 E4 B8 00 41"), ""},
        {"lead as the last byte", mixedText(2), hex("00 41 E4 00 41"), ""},
        {"zero as the file's last byte ends the scan", mixedText(2), hex("00 E4 B8 AD 00"), ""},
        {"segments in order", mixedText(2), hex("41 42 00 43 00 E4 B8 AD 00 00"),
         entry(0, "AB") + entry(3, "C") + entry(5, "\xD6\xD0")},
        // U+4E57 is GBK 0x81 0x5C, outside GB2312: kept single under GBK, a reset under GB2312.
        {"backslash trail byte stays single", mixedText(2), hex("00 41 E4 B9 97 42 00 41"),
         "\r\n1:A\x81\\B\r\nA\x81\\B\r\n"},
        {"character outside the class resets", mixedText(1), hex("00 41 E4 B9 97 42 00 41"), entry(5, "B")},
        {"overlong, surrogate and four-byte forms reset", mixedText(2),
         hex("00 E0 80 80 41 00 ED A0 80 42 00 F0 9F 98 80 43 00 41"),
         entry(4, "A") + entry(9, "B") + entry(15, "C")},
        {"plain text finds nothing", plainText(), hex("00 41 42 00 41"), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::runSearch(searchUtf8Strings, c.bytes, c.settings).entries, c.expected) << c.name;
}

TEST(Utf8Scanner, ConvertsThreeByteSequencesOfTheClassOnly) {
    const ExtractionSettings gbk = mixedText(2);
    EXPECT_EQ(convertUtf8Sequence(0xE4, 0xB8, 0xAD, gbk), "\xD6\xD0");
    EXPECT_EQ(convertUtf8Sequence(0xE4, 0xB9, 0x97, gbk), "\x81\x08");  // trail backslash marked
    EXPECT_EQ(convertUtf8Sequence(0xE4, 0xB9, 0x97, mixedText(1)), "");
    EXPECT_EQ(convertUtf8Sequence(0xE0, 0x80, 0x80, gbk), "");  // overlong
    EXPECT_EQ(convertUtf8Sequence(0xED, 0xA0, 0x80, gbk), "");  // surrogate
    EXPECT_EQ(convertUtf8Sequence(0xF0, 0x9F, 0x98, gbk), "");
    EXPECT_EQ(convertUtf8Sequence(0xE4, 0x38, 0xAD, gbk), "");  // not a continuation byte
}

TEST(Utf8Scanner, ProgressStepsPerBlockOfTerminators) {
    std::string bytes(4096, 'x');
    EXPECT_EQ(test::runSearch(searchUtf8Strings, bytes, mixedText(2)).maximums, std::vector<std::int64_t>{1});
    // Terminators at 1-based positions 10, 5000 and 5010: a step at 5000 only.
    bytes = std::string(9, 'a') + '\0' + std::string(4990, 'b') + '\0' + std::string(9, 'c') + '\0' + "d";
    const test::SearchOutcome out = test::runSearch(searchUtf8Strings, bytes, mixedText(2));
    EXPECT_EQ(out.steps, 1);
    EXPECT_EQ(out.maximums, std::vector<std::int64_t>{2});
}

} // namespace
} // namespace kestrin
