#include "extract/delphi_scanner.h"

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
    test::SearchFunction search;
    ExtractionSettings settings;
    std::string bytes;
    std::string expected;
    std::int64_t candidates;  // the progress maximum
};

TEST(DelphiScanners, FindStringsByTheirHeader) {
    const std::string ff8 = hex("FF FF FF FF FF FF FF FF");
    const Case cases[] = {
        {"ANSI ABC", searchDelphiAscii, plainText(), hex("FF FF FF FF 03 00 00 00 41 42 43 00"), entry(8, "ABC"), 1},
        {"ANSI length not at the zero", searchDelphiAscii, plainText(), hex("FF FF FF FF 04 00 00 00 41 42 43 00"),
         "", 0},
        {"ANSI marker may overlap the length field", searchDelphiAscii, plainText(),
         ff8 + hex("03 00 00 00 41 42 43 00"), entry(12, "ABC"), 1},
        {"ANSI length 0 counts but gives nothing", searchDelphiAscii, plainText(), hex("FF FF FF FF 00 00 00 00 00"),
         "", 1},
        {"ANSI unprintable byte", searchDelphiAscii, plainText(), hex("FF FF FF FF 02 00 00 00 41 01 00"), "", 1},
        {"ANSI GBK text", searchDelphiAscii, mixedText(2), hex("FF FF FF FF 03 00 00 00 41 95 5C 00"),
         "\r\n8:A\x95\\\r\nA\x95\\\r\n", 1},
        {"ANSI no zero after the text ends the search, keeping what was found", searchDelphiAscii, plainText(),
         hex("FF FF FF FF 01 00 00 00 41 00 FF FF FF FF 05 00 00 00 41 42"), entry(8, "A"), 1},
        {"ANSI huge length", searchDelphiAscii, plainText(), hex("FF FF FF FF FF FF FF 7F 41 00"), "", 0},
        {"UTF-16 AB", searchDelphiUtf16, plainText(), hex("FF FF FF FF 02 00 00 00 41 00 42 00 00 00"),
         entry(8, "AB"), 1},
        {"UTF-16 resumes after the length field", searchDelphiUtf16, plainText(),
         ff8 + hex("03 00 00 00 41 00 42 00 43 00 00 00"), "", 0},
        {"UTF-16 zero pair inside the text", searchDelphiUtf16, plainText(),
         hex("FF FF FF FF 03 00 00 00 41 00 00 00 42 00 00 00"), "", 0},
        {"UTF-16 GBK 中文", searchDelphiUtf16, mixedText(2), hex("FF FF FF FF 02 00 00 00 2D 4E 87 65 00 00"),
         entry(8, "\xD6\xD0\xCE\xC4"), 1},
        {"UTF-16 last character with a zero low byte", searchDelphiUtf16, mixedText(2),
         hex("FF FF FF FF 01 00 00 00 00 4E 00 00"), entry(8, "\xD2\xBB"), 1},
        {"UTF-16 negative length", searchDelphiUtf16, plainText(), hex("FF FF FF FF FE FF FF FF 00 00 00 00"), "", 0},
        {"UTF-16 length past the end", searchDelphiUtf16, plainText(), hex("FF FF FF FF 00 00 00 40 41 00 00 00"), "",
         0},
        {"no marker", searchDelphiUtf16, plainText(), hex("41 00 42 00 00 00"), "", 0},
    };
    for (const Case& c : cases) {
        const test::SearchOutcome out = test::runSearch(c.search, c.bytes, c.settings);
        EXPECT_EQ(out.entries, c.expected) << c.name;
        EXPECT_EQ(out.maximums, std::vector<std::int64_t>{c.candidates}) << c.name;
        EXPECT_EQ(out.steps, c.candidates) << c.name;  // one step per candidate, entry or not
    }
}

TEST(DelphiScanners, ManyMarkersBeforeOneDistantZeroStayLinear) {
    // Every marker's terminator search would run to the same far zero.
    std::string bytes(4 << 20, '\xFF');
    bytes += '\0';
    EXPECT_EQ(test::runSearch(searchDelphiAscii, bytes, plainText()).entries, "");
    EXPECT_EQ(test::runSearch(searchDelphiUtf16, bytes + '\0', plainText()).entries, "");
}

} // namespace
} // namespace kestrin
