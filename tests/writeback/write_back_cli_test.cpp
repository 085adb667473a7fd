#include "tests/writeback/write_back_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin::test {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::string zeros(std::size_t n) { return std::string(n, '\0'); }

struct RoundTrip {
    const char* name;
    std::vector<std::string> options; // after PROGRAM
    std::string suffix;               // default comparison path
    std::string image;
    std::string comparison;
    std::string expected;
};

// Each mode writes its translations through the command line with the
// comparison file at its default path; the resulting image is checked byte for
// byte against one built by hand.
TEST_F(WriteBackTest, EveryModeThroughTheCommandLine) {
    const std::string zhong = "\xD6\xD0";          // 中 in code page 936
    const std::string zhongwen = "\xD6\xD0\xCE\xC4"; // 中文
    const std::vector<RoundTrip> cases = {
        {"ascii: longer into zeros, shorter padded", {}, ".a.txt",
         "MZ" + zeros(2) + "Open" + zeros(4) + "Quit" + zeros(1),
         entry("4", "Open", "Opened") + entry("12", "Quit", "Q"),
         "MZ" + zeros(2) + "Opened" + zeros(2) + "Q" + zeros(4)},
        {"utf16: borrow and a Chinese translation", {"--mode", "utf16"}, ".u.txt",
         "MZ" + wide("ab") + zeros(2) + wide("xyz"),
         entry("2", "ab", "abc") + entry("10", "xyz", zhong),
         "MZ" + wide("abc") + bytes({0x2D, 0x4E, 0, 0}) + zeros(4)},
        {"utf8: borrow, then a Chinese text shorter in bytes", {"--mode", "utf8"}, ".u8.txt",
         "\x01" "AB" + zeros(3) + "\xE4\xB8\xAD\xE6\x96\x87" + zeros(1),
         entry("1", "AB", "ABCD") + entry("6", zhongwen, zhong),
         "\x01" "ABCD" + zeros(1) + "\xE4\xB8\xAD" + zeros(4)},
        {"delphi-ascii: the length field follows by default", {"--mode", "delphi-ascii"}, ".d.txt",
         bytes({0xFF, 4, 0, 0, 0}) + "Open" + zeros(3), entry("5", "Open", "Opened"),
         bytes({0xFF, 6, 0, 0, 0}) + "Opened" + zeros(1)},
        {"delphi-utf16: field in code units", {"--mode", "delphi-utf16"}, ".du.txt",
         bytes({5, 0, 0, 0}) + wide("abcde"), entry("4", "abcde", "xyz"),
         bytes({3, 0, 0, 0}) + wide("xyz") + zeros(4)},
        {"vb: field in bytes", {"--mode", "vb"}, ".vb.txt", bytes({10, 0, 0, 0}) + wide("abcde"),
         entry("4", "abcde", "xyz"), bytes({6, 0, 0, 0}) + wide("xyz") + zeros(4)},
        {"delphi-ascii with --no-length-prefix", {"--mode", "delphi-ascii", "--no-length-prefix"}, ".d.txt",
         bytes({0xFF, 4, 0, 0, 0}) + "Open" + zeros(1), entry("5", "Open", "AB"),
         bytes({0xFF, 4, 0, 0, 0}) + "AB" + zeros(3)},
        {"ascii with --length-prefix", {"--length-prefix"}, ".a.txt",
         bytes({0xFF, 4, 0, 0, 0}) + "Open" + zeros(1), entry("5", "Open", "AB"),
         bytes({0xFF, 2, 0, 0, 0}) + "AB" + zeros(3)},
        {"--pad-spaces", {"--pad-spaces"}, ".a.txt", "Open" + zeros(1), entry("0", "Open", "AB"), "AB  " + zeros(1)},
        {"--no-borrow leaves a longer text out", {"--no-borrow"}, ".a.txt", "Open" + zeros(4),
         entry("0", "Open", "Opened"), "Open" + zeros(4)},
        {"--whole-sentence", {"--whole-sentence"}, ".a.txt", "xxOpenyyQuit", entry("2", "Open", "Opened") +
         entry("8", "Quit", "Q"), "xxOpenedyyQ"},
        {"--range", {"--range", "2", "7"}, ".a.txt", "xxabcyyabczzabc",
         entry("2", "abc", "A") + entry("7", "abc", "B") + entry("12", "abc", "C"),
         "xxA" + zeros(2) + "yyB" + zeros(2) + "zzabc"},
        {"escapes are undone", {}, ".a.txt", "a\tb\\c" + zeros(3), entry("0", "a\\tb\\\\c", "\\\"x\\\"\\n"),
         "\"x\"\n" + zeros(4)},
    };
    for (const auto& c : cases) {
        comparison = appendToPath(program, c.suffix);
        givenFiles(c.image, c.comparison);
        std::vector<std::string> arguments = {"write-back", program.string()};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const auto result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 0) << c.name << ": " << result.standardOutput << result.standardError;
        EXPECT_EQ(readBytes(program), c.expected) << c.name;
        EXPECT_EQ(readBytes(restoreCopyPath()), c.image) << c.name;
        EXPECT_EQ(readBytes(backup()), c.image) << c.name;
        deleteFile(comparison);
    }
}

TEST_F(WriteBackTest, CommandLineExitCodesAndRestore) {
    givenFiles("Open" + zeros(1), entry("0", "Open", "Shut"));
    auto result = runCli({"write-back", program.string(), comparison.string(), "--no-backup"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.standardOutput.ends_with(" 秒！\n\nKestrin文件中未发现超长字串。\n")) << result.standardOutput;
    EXPECT_FALSE(fileExists(backup()));

    result = runCli({"restore", program.string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, "还原成功！\n");
    EXPECT_EQ(readBytes(program), "Open" + zeros(1));

    // A stop: exit 1, the program file unchanged.
    givenFiles("Open" + zeros(1), entry("1", "Open", "Shut"));
    result = runCli({"write-back", program.string(), comparison.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.standardOutput.starts_with("1:Open\n\n上面对照行文本与")) << result.standardOutput;
    expectNothingWritten();

    deleteFile(restoreCopyPath());
    result = runCli({"restore", program.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardOutput, "还原失败！请检验文件是否正在被使用。\n");

    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {"write-back"},
             {"write-back", program.string(), "--mode", "delphi"},
             {"write-back", program.string(), "--length-prefix", "--no-length-prefix"},
             {"write-back", program.string(), "--range", "1"},
             {"restore"},
         }) {
        EXPECT_EQ(runCli(usage).exitCode, 2) << usage.back();
    }
    EXPECT_EQ(readBytes(program), "Open" + zeros(1));
}

} // namespace
} // namespace kestrin::test
