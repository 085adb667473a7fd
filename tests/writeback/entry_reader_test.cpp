#include "writeback/entry_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kestrin {
namespace {

void expectSameEntries(const std::string& text) {
    const EntryList direct = readEntries(text);
    const EntryList reference = readEntriesWithPattern(text);
    ASSERT_EQ(direct.gaveUp, reference.gaveUp) << testing::PrintToString(text);
    ASSERT_EQ(direct.entries.size(), reference.entries.size()) << testing::PrintToString(text);
    for (std::size_t i = 0; i < direct.entries.size(); ++i) {
        const EntryMatch& a = direct.entries[i];
        const EntryMatch& b = reference.entries[i];
        const auto fields = [](const EntryMatch& m) {
            return std::vector<std::size_t>{m.begin, m.numberEnd, m.originalPrefixEnd, m.originalEnd,
                                            m.translationBegin, m.translationPrefixEnd, m.end};
        };
        ASSERT_EQ(fields(a), fields(b)) << "entry " << i << " of " << testing::PrintToString(text);
    }
}

TEST(ReadEntries, FindsTheGroupsOfAnEntry) {
    const std::string text = "\r\n12:10:30:Open\r\n\r\n10:45:Shut\r\nnot an entry\r\n7:x\r\ny";
    const EntryList list = readEntries(text);
    ASSERT_EQ(list.entries.size(), 2u);
    const EntryMatch& first = list.entries[0];
    EXPECT_EQ(first.number(text), "12");
    EXPECT_EQ(first.original(text), "10:30:Open");
    EXPECT_EQ(first.originalPrefix(text), "10:30:");
    EXPECT_EQ(first.translation(text), "10:45:Shut");
    EXPECT_EQ(first.translationPrefix(text), "10:45:");
    EXPECT_EQ(first.whole(text), "12:10:30:Open\r\n\r\n10:45:Shut");
    EXPECT_EQ(list.entries[1].translation(text), "y");
}

// The direct scan gives exactly what the pattern engine gives, on awkward
// line breaks (lone CR or LF, form feeds, runs of CR LF), digit runs and
// texts that end anywhere.
TEST(ReadEntries, AgreesWithThePatternEngine) {
    const std::vector<std::string> fixed = {
        "", "1:", "1:\r\n", "1:a\r\n", "1:a\r\nb", "1:a\nb\r\nc", "1:a\rb\r\nc\r\nd", "\r\n1:a\r\n\r\n\r\nb\r\n",
        "1:a\r\n\r", "1:a\r\n\n2:b\r\nc", "1:a\r\n\f", "x1:a\r\nb", "1:2:\r\n3:4:x\r\n", "12a:b\r\nc",
        "1:a\r\n2:b\r\n3:c\r\n", "\f1:a\r\nb\fc", "1:1:1:1:1:", "1:\r\n1:1:1:", "\xB1\x31:a\r\nb",
    };
    for (const auto& text : fixed) expectSameEntries(text);

    std::mt19937 random(2024);
    const char alphabet[] = {'1', '2', '0', ':', ':', '\r', '\n', '\r', '\n', '\f', 'a', ' ', '\x95'};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            if (random() % 5 == 0) {
                text += "\r\n";
            } else {
                text += alphabet[random() % sizeof(alphabet)];
            }
        }
        expectSameEntries(text);
    }
}

TEST(ReadEntries, HeavyBacktrackingIsLeftToThePatternEngine) {
    // A run of digit-and-colon groups with no line break after it.
    std::string groups = "\r\n4:Open\r\nShut\r\n\r\n";
    for (int i = 0; i < 100000; ++i) groups += "1:";
    EXPECT_TRUE(readEntries(groups).gaveUp);
    // Entry lines with LF-only breaks after the last CR LF: every one of them
    // is searched to the end of the text.
    std::string lfOnly = "\r\n4:Open\r\nShut\r\n";
    for (int i = 0; i < 5000; ++i) lfOnly += "\n" + std::to_string(i) + ":text\ntext";
    const EntryList reference = readEntriesWithPattern(lfOnly);
    const EntryList direct = readEntries(lfOnly);
    EXPECT_TRUE(reference.gaveUp);
    EXPECT_EQ(direct.gaveUp, reference.gaveUp);
    EXPECT_EQ(direct.entries.size(), reference.entries.size());
}

} // namespace
} // namespace kestrin
