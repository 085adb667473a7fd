#include "lengthtool/length_tool.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrin {
namespace {

TEST(LengthTool, HexLengthTextHasAnEvenNumberOfDigits) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "00"}, {4, "04"}, {15, "0F"}, {255, "FF"}, {256, "0100"}, {4096, "1000"}, {65536, "010000"},
    };
    for (const auto& [count, text] : cases) EXPECT_EQ(hexLengthText(count), text) << count;
}

TEST(LengthTool, FiguresOfEveryEncoding) {
    struct Case {
        std::string text;
        ToolEncoding encoding;
        const char* source;
        const char* encoded;
        const char* list;
    };
    const std::string zhongwen = "\xD6\xD0\xCE\xC4"; // 中文
    const Case cases[] = {
        {"", ToolEncoding::Ascii, "0 00", "0 00", ""},
        {"", ToolEncoding::Unicode, "0 00", "0 00", ""},
        {"", ToolEncoding::Utf8, "0 00", "0 00", ""},
        {zhongwen, ToolEncoding::Ascii, "4 04", "4 04", "D6 D0 CE C4"},
        {zhongwen, ToolEncoding::Unicode, "4 04", "4 04", "2D 4E 87 65"},
        {zhongwen, ToolEncoding::Utf8, "4 04", "6 06", "E4 B8 AD E6 96 87"},
        {"a\\n", ToolEncoding::Ascii, "3 03", "2 02", "61 0A"},
        {std::string(256, 'x'), ToolEncoding::Ascii, "256 0100", "256 0100", nullptr},
    };
    for (const auto& c : cases) {
        const auto r = computeLengthTool(c.text, c.encoding);
        EXPECT_EQ(r.sourceDecimal + " " + r.sourceHex, c.source) << c.text;
        EXPECT_EQ(r.encodedDecimal + " " + r.encodedHex, c.encoded) << c.text;
        if (c.list) {
            EXPECT_EQ(r.byteList, c.list) << c.text;
        }
    }
}

TEST(LengthTool, EncodeCommandPrintsThreeLines) {
    const struct {
        const char* option;
        const char* output;
    } cases[] = {
        {"--ascii", "4 04\n4 04\nD6 D0 CE C4\n"},
        {"--utf16", "4 04\n4 04\n2D 4E 87 65\n"},
        {"--utf8", "4 04\n6 06\nE4 B8 AD E6 96 87\n"},
    };
    for (const auto& c : cases) {
        const auto result = test::runCli({"encode", c.option, "中文"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.standardOutput, c.output) << c.option;
    }
    EXPECT_EQ(test::runCli({"encode", "a\\n"}).standardOutput, "3 03\n2 02\n61 0A\n");
    EXPECT_EQ(test::runCli({"encode", ""}).standardOutput, "0 00\n0 00\n\n");
    EXPECT_EQ(test::runCli({"encode", "--utf16", "--utf8", "x"}).exitCode, 2);
    EXPECT_EQ(test::runCli({"encode"}).exitCode, 2);
}

} // namespace
} // namespace kestrin
