#include "core/file_io.h"
#include "job_messages.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrin {
namespace {

using test::isCompletion;
using test::kFromIniDone;
using test::kToIniDone;
using test::readBytes;
using test::runCli;
using test::ScratchFolder;
using test::writeBytes;

// The message on standard output, without its final line break.
std::string printedMessage(const test::ProcessResult& result) {
    const std::string& out = result.standardOutput;
    if (out.empty() || out.back() != '\n') return "<no line break>" + out;
    return out.substr(0, out.size() - 1);
}

// Entries as extraction writes them, two of which need the careful reading:
// a text that begins with digits and a colon, and double-byte characters.
const std::string kComparison =
    "\r\n4660:Open\r\nOpen\r\n"
    "\r\n4672:Save\\tAll\r\nSave\\tAll\r\n"
    "\r\n5000:10:30\r\n10:30\r\n"
    "\r\n6000:\xB1\xA3\xB4\xE6\r\n\xB1\xA3\xB4\xE6\r\n";

TEST(IniCommands, RoundTripThroughTheCommandLine) {
    ScratchFolder folder;
    const auto comparison = folder / "app.exe.a.txt";
    writeBytes(comparison, kComparison);

    // to-ini proposes app.exe.a.ini.
    const auto toIni = runCli({"to-ini", comparison.string()});
    EXPECT_EQ(toIni.exitCode, 0) << toIni.standardError;
    EXPECT_TRUE(isCompletion(printedMessage(toIni), kToIniDone));
    EXPECT_EQ(toIni.standardError, "");
    const auto ini = folder / "app.exe.a.ini";
    EXPECT_EQ(readBytes(ini), "4660=Open\r\n4672=Save\\tAll\r\n5000=10:30\r\n6000=\xB1\xA3\xB4\xE6\r\n");

    // Unchanged values give the comparison file back byte for byte.
    const auto same = runCli({"from-ini", comparison.string(), ini.string()});
    EXPECT_EQ(same.exitCode, 0) << same.standardError;
    EXPECT_TRUE(isCompletion(printedMessage(same), kFromIniDone));
    EXPECT_EQ(readBytes(comparison), kComparison);
    EXPECT_EQ(readBytes(folder / "app.exe.a.txt.BAK"), kComparison);

    // Translated values (a section header added by the translation tool).
    writeBytes(ini, "[Strings]\r\n4660=\xB4\xF2\xBF\xAA\r\n5000=10\xB5\xE3\r\n");
    std::filesystem::remove(folder / "app.exe.a.txt.BAK");
    const auto merged = runCli({"from-ini", comparison.string(), ini.string(), "--no-backup"});
    EXPECT_EQ(merged.exitCode, 0) << merged.standardError;
    EXPECT_EQ(readBytes(comparison), "\r\n4660:Open\r\n\xB4\xF2\xBF\xAA\r\n"
                                     "\r\n4672:Save\\tAll\r\nSave\\tAll\r\n"
                                     "\r\n5000:10:30\r\n10\xB5\xE3\r\n"
                                     "\r\n6000:\xB1\xA3\xB4\xE6\r\n\xB1\xA3\xB4\xE6\r\n");
    EXPECT_FALSE(fileExists(folder / "app.exe.a.txt.BAK"));
}

TEST(IniCommands, ExitCodesAndMessages) {
    ScratchFolder folder;
    writeBytes(folder / "list.dat", kComparison);
    writeBytes(folder / "c.txt", kComparison);
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        std::string message; // empty: a usage error, nothing on standard output
    };
    const std::vector<Case> cases = {
        // Without ".txt" the proposed ini path is the comparison file itself.
        {"to-ini over its own input", {"to-ini", (folder / "list.dat").string()}, 1,
         "ini 文件不能是Kestrin对照文件本身，请重新选择！"},
        {"to-ini with an explicit ini path", {"to-ini", (folder / "list.dat").string(), (folder / "l.ini").string()}, 0,
         ""},
        {"from-ini without its ini file", {"from-ini", (folder / "c.txt").string(), (folder / "gone.ini").string()}, 1,
         "ini 文件不存在，请重新选择！"},
        {"from-ini with empty paths", {"from-ini", "", ""}, 1, "请先选择Kestrin对照文件和已本地化的 ini 文件！"},
        {"to-ini with an empty path", {"to-ini", ""}, 1, "请先选择要转为 ini 格式的Pomaly对照文件！"},
        {"to-ini without arguments", {"to-ini"}, 2, ""},
        {"from-ini without the ini path", {"from-ini", (folder / "c.txt").string()}, 2, ""},
        {"from-ini with an unknown option", {"from-ini", "a.txt", "a.ini", "--backup"}, 2, ""},
    };
    for (const auto& c : cases) {
        const auto result = runCli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        if (c.exitCode == 2) {
            EXPECT_EQ(result.standardOutput, "") << c.name;
            EXPECT_NE(result.standardError.find("Usage:"), std::string::npos) << c.name;
        } else if (c.exitCode == 1) {
            EXPECT_EQ(result.standardOutput, c.message + "\n") << c.name;
        } else {
            EXPECT_TRUE(isCompletion(printedMessage(result), kToIniDone)) << c.name;
        }
    }
    EXPECT_EQ(readBytes(folder / "list.dat"), kComparison);
    EXPECT_EQ(readBytes(folder / "l.ini"), "4660=Open\r\n4672=Save\\tAll\r\n5000=10:30\r\n6000=\xB1\xA3\xB4\xE6\r\n");
}

} // namespace
} // namespace kestrin
