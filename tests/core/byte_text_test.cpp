#include "core/byte_text.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

// "乗" in GBK is 0x81 0x5C: its second byte is a backslash.
const std::string kTrailBackslash = "\x81\x5C";

TEST(FindText, NeverMatchesAtSecondByteOfCharacter) {
    EXPECT_EQ(findText("a" + kTrailBackslash + "b", "\\"), -1);
    EXPECT_EQ(findText("a" + kTrailBackslash + "\\", "\\"), 4);
    EXPECT_EQ(findText("abcabc", "bc", 3), 5);
    EXPECT_EQ(findText("abc", ""), 1);
    EXPECT_EQ(findText("", "a"), -1);
    EXPECT_EQ(findText("ABC", "bc", 1, true), 2);
}

TEST(FindTextReverse, LastOccurrenceWithinLimit) {
    EXPECT_EQ(findTextReverse("a.b.c", "."), 4);
    EXPECT_EQ(findTextReverse("a.b.c", ".", 4), 2);  // must lie wholly before position 4
    EXPECT_EQ(findTextReverse(kTrailBackslash, "\\"), -1);
}

TEST(ReplaceText, CountAndCase) {
    EXPECT_EQ(replaceText("D:\\X.TXT", ".txt", ".ini", 1, 1, false), "D:\\X.ini");
    EXPECT_EQ(replaceText("D:\\a.txt\\b.txt", ".txt", ".ini", 1, 1, false), "D:\\a.ini\\b.txt");
    EXPECT_EQ(replaceText("1:2:3", ":", "=", 1, 1, true), "1=2:3");
    EXPECT_EQ(replaceText("aaaa", "aa", "a"), "aa");
}

TEST(TextToNumber, LeadingNumberGrammar) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"C:\\a.txt", 0},  {"123abc", 123}, {"", 0},      {"  -12.5e2x", -1250},
                 {"\t7", 7},         {"0x10", 0},     {"inf", 0},   {".5", 0},
                 {"3e", 3},          {"+4", 4},       {"1.", 1},    {"12e+1", 120}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(textToNumber(c.text), c.value) << c.text;
}

TEST(ReplaceAllBytes, ReplacedBytesAreNotSearchedAgain) {
    std::string s = "\\\\\\";
    EXPECT_EQ(replaceAllBytes(s, "\\", "\\\\"), 3);
    EXPECT_EQ(s, std::string(6, '\\'));
    std::string t = "abab";
    EXPECT_EQ(replaceAllBytes(t, "ab", "x", 1), 1);
    EXPECT_EQ(t, "abx");
}

TEST(LittleEndianReads, PastTheEndReadsZero) {
    const std::string b("\x01\x02\x03", 3);
    EXPECT_EQ(readUint32Le(b, 0), 0x030201u);
    EXPECT_EQ(readUint16Le(b, 2), 0x03u);
    EXPECT_EQ(readUint32Le(b, -5), 0u);
}

} // namespace
} // namespace kestrin
