#include "writeback/whole_sentence.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kestrin {
namespace {

TEST(ReplaceWholeSentence, ShiftsLaterEntries) {
    // Originals at 10 and 50; the first translation is 3 bytes longer, so the
    // second is found at 53.
    std::string image(60, '.');
    image.replace(10, 3, "abc");
    image.replace(50, 3, "xyz");
    SentenceImage sentences(image);
    std::int64_t shift = replaceWholeSentence(sentences, 10, "abc", "abcdef", 0);
    EXPECT_EQ(shift, 3);
    std::string scratch;
    EXPECT_EQ(sentences.bytesAt(50 + shift, 3, scratch), "xyz");
    shift = replaceWholeSentence(sentences, 50, "xyz", "x", shift);
    EXPECT_EQ(shift, 1);
    std::string expected = image;
    expected.replace(50, 3, "x");
    expected.replace(10, 3, "abcdef");
    EXPECT_EQ(sentences.take(), expected);
}

TEST(ReplaceWholeSentence, EmptyOriginalChangesNothing) {
    SentenceImage sentences("abc");
    EXPECT_EQ(replaceWholeSentence(sentences, 1, "", "XYZ", 5), 5);
    EXPECT_EQ(sentences.take(), "abc");
}

// Replacements in any order, overlapping the part already rebuilt or not, give
// what editing a plain string gives.
TEST(SentenceImage, MatchesPlainEditsInAnyOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string plain;
        for (int i = 0; i < 64; ++i) plain.push_back(static_cast<char>('a' + random() % 26));
        SentenceImage image(plain);
        for (int step = 0; step < 12; ++step) {
            const std::size_t position = random() % (plain.size() + 1);
            const std::size_t length = std::min<std::size_t>(random() % 5, plain.size() - position);
            const std::string replacement(random() % 7, static_cast<char>('A' + step));
            std::string scratch;
            const std::size_t probe = random() % (plain.size() + 2);
            ASSERT_EQ(image.bytesAt(static_cast<std::int64_t>(probe), 9, scratch),
                      probe < plain.size() ? plain.substr(probe, 9) : std::string());
            image.replace(position, length, replacement);
            plain.replace(position, length, replacement);
            ASSERT_EQ(image.size(), plain.size());
        }
        ASSERT_EQ(image.take(), plain);
    }
}

} // namespace
} // namespace kestrin
