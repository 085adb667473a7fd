#include "comparison/comparison_format.h"
#include "comparison/numbered_lines.h"
#include "core/pattern.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kestrin::comparison {
namespace {

struct Found {
    std::size_t begin, end;
    bool operator==(const Found&) const = default;
};

std::vector<Found> scanned(std::string_view text, char mark) {
    std::vector<Found> found;
    NumberedLineScanner scanner(text, mark);
    NumberedLine line;
    while (scanner.next(line)) found.push_back({line.begin, line.end});
    return found;
}

std::vector<Found> searched(std::string_view text, const char* expression) {
    std::vector<Found> found;
    const MatchList matches = Pattern(expression).searchAll(text);
    EXPECT_FALSE(matches.gaveUp);
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const Span whole = matches.span(i);
        found.push_back({whole.begin, whole.begin + whole.length});
    }
    return found;
}

void expectSameAsPatterns(const std::string& text) {
    EXPECT_EQ(scanned(text, ':'), searched(text, kOriginalLinePattern)) << testing::PrintToString(text);
    EXPECT_EQ(scanned(text, '='), searched(text, kIniLinePattern)) << testing::PrintToString(text);
}

// The scanner stands in for the reader patterns, so it must find exactly the
// lines the pattern engine finds, line-break rules included.
TEST(NumberedLineScanner, FindsWhatThePatternsFind) {
    const std::vector<std::string> texts = {
        "",
        "\r\n4660:Open\r\nOpen\r\n\r\n4672:Save\\tAll\r\nSave\\tAll\r\n",
        "1:a\n2:b\n3=c\r4=d\f5:e",        // LF, CR and FF each end a line
        "1:\r\n:2\r\n12\r\n12:\r\n",      // empty text, no digits, no mark
        "\r\r\n1:a\r\r\n\n2:b\n\r3:c",     // CR CR LF, LF CR
        "x1:a\r\n 2:b\r\n3 :c\r\n4::\r\n", // digits must start the line and meet the mark
        "9=x=y\r\n10:a=b\r\n11=a:b",
        "\xA1\xA1:1\r\n5:\xD5\x5C\x85\r\n6:\x85\xA0",
        "7:end",
        "\n\n\n8:a\r",
    };
    for (const auto& text : texts) expectSameAsPatterns(text);
}

TEST(NumberedLineScanner, FindsWhatThePatternsFindInRandomTexts) {
    const std::string alphabet = "0123:=a\r\n\f\x85\xD5";
    std::mt19937 random(20151028);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (auto& c : text) c = alphabet[random() % alphabet.size()];
        expectSameAsPatterns(text);
    }
}

// A line of megabytes neither slows the scan down nor makes it give up.
TEST(NumberedLineScanner, LongLine) {
    const std::string text = "1:" + std::string(8 << 20, 'x') + "\r\n2:y";
    const auto found = scanned(text, ':');
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].end, text.size() - 5);
}

TEST(EntryLineReader, PassesOverOnlyTheLineDirectlyAfterAnEntry) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"translation keeps its digits", "\r\n100:10:30\r\n10:30\r\n\r\n200:B\r\nB\r\n", {"100:10:30", "200:B"}},
        {"translation lost its digits", "\r\n100:10:30\r\nhalf past ten\r\n\r\n200:B\r\nB\r\n", {"100:10:30", "200:B"}},
        {"translation looks like an entry", "\r\n300:noon\r\n12:00\r\n\r\n400:C\r\nC\r\n", {"300:noon", "400:C"}},
        {"no empty lines between entries", "1:1:a\r\n1:a\r\n2:2:b\r\n2:b\r\n", {"1:1:a", "2:2:b"}},
        {"a skipped line ends the skipping", "1:a\r\n2:b\r\n3:c\r\n", {"1:a", "3:c"}},
        {"empty translation line", "\r\n5:5:x\r\n\r\n6:6:y\r\n6:y\r\n", {"5:5:x", "6:6:y"}},
        {"LF only", "\n7:7:a\n7:a\n\n8:b\nb\n", {"7:7:a", "8:b"}},
        {"lone CR", "\r7:7:a\r7:a\r\r8:b\rb\r", {"7:7:a", "8:b"}},
    };
    for (const auto& c : cases) {
        EntryLineReader reader(c.text);
        NumberedLine line;
        bool isEntry = false;
        std::vector<std::string> entries;
        while (reader.next(line, isEntry))
            if (isEntry) entries.emplace_back(line.whole(c.text));
        EXPECT_EQ(entries, c.entries) << c.name;
    }
}

TEST(CompareDigitRuns, ComparesWholeNumbersOfAnyLength) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const std::vector<Case> cases = {
        {"20", "20", 0},   {"020", "20", 0}, {"0", "000", 0},   {"9", "10", -1},
        {"100", "99", 1},  {"18446744073709551617", "18446744073709551616", 1},
        {"18446744073709551616", "0", 1},
    };
    for (const auto& c : cases) {
        const int result = compareDigitRuns(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

} // namespace
} // namespace kestrin::comparison
