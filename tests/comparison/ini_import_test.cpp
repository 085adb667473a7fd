#include "comparison/ini_import.h"
#include "core/file_io.h"
#include "job_messages.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrin {
namespace {

using test::isCompletion;
using test::kFromIniDone;
using test::readBytes;
using test::RecordingReporter;
using test::ScratchFolder;
using test::writeBytes;

// Entries as extraction writes them: "offset:text" with its own text as translation.
std::string entries(std::initializer_list<std::pair<const char*, const char*>> list) {
    std::string text;
    for (const auto& [offset, original] : list)
        text += std::string("\r\n") + offset + ":" + original + "\r\n" + original + "\r\n";
    return text;
}

// The rebuilt file: each entry with the translation it ends up with.
std::string rebuilt(std::initializer_list<std::tuple<const char*, const char*, const char*>> list) {
    std::string text;
    for (const auto& [offset, original, translation] : list)
        text += std::string("\r\n") + offset + ":" + original + "\r\n" + translation + "\r\n";
    return text;
}

struct MergeCase {
    const char* name;
    std::string comparison;
    std::string ini;
    std::optional<std::string> result; // nullopt: the comparison file stays as it was
};

TEST(MergeIniIntoComparison, PutsValuesIntoTranslationLines) {
    using namespace std::string_literals;
    const auto tenTwentyThirty = entries({{"10", "ten"}, {"20", "twenty"}, {"30", "thirty"}});
    const std::vector<MergeCase> cases = {
        {"matching keys", tenTwentyThirty, "20=B\r\n30=C\r\n",
         rebuilt({{"10", "ten", "ten"}, {"20", "twenty", "B"}, {"30", "thirty", "C"}})},
        {"keys between the offsets", tenTwentyThirty, "5=x\r\n25=y\r\n",
         rebuilt({{"10", "ten", "ten"}, {"20", "twenty", "twenty"}, {"30", "thirty", "thirty"}})},
        {"key beyond the last offset", entries({{"10", "ten"}}), "10=A\r\n99=Z\r\n", rebuilt({{"10", "ten", "A"}})},
        {"old translations are replaced", "\r\n10:ten\r\nold\r\n\r\n20:twenty\r\nold\r\n", "20=B\r\n",
         rebuilt({{"10", "ten", "ten"}, {"20", "twenty", "B"}})},
        {"text with digits and colon", "\r\n100:10:30\r\n10:30\r\n", "100=10h30\r\n",
         rebuilt({{"100", "10:30", "10h30"}})},
        {"translation lost its leading digits", "\r\n100:10:30\r\nhalf\r\n\r\n200:B\r\nB\r\n", "200=Y\r\n",
         rebuilt({{"100", "10:30", "10:30"}, {"200", "B", "Y"}})},
        {"translation that looks like an entry", "\r\n300:noon\r\n12:00\r\n\r\n400:C\r\nC\r\n", "12=bad\r\n",
         rebuilt({{"300", "noon", "noon"}, {"400", "C", "C"}})},
        {"offsets out of order", entries({{"30", "c"}, {"10", "a"}, {"40", "d"}}), "10=A\r\n30=C\r\n40=D\r\n",
         rebuilt({{"30", "c", "C"}, {"10", "a", "a"}, {"40", "d", "D"}})},
        {"last key passed over is not met again", entries({{"30", "c"}, {"25", "b"}}), "25=B\r\n",
         rebuilt({{"30", "c", "c"}, {"25", "b", "b"}})},
        {"duplicate keys: the first is used", entries({{"20", "b"}, {"30", "c"}}), "20=first\r\n20=second\r\n30=C\r\n",
         rebuilt({{"20", "b", "first"}, {"30", "c", "C"}})},
        {"duplicate offsets share a value", entries({{"20", "b"}, {"20", "b2"}}), "20=B\r\n",
         rebuilt({{"20", "b", "B"}, {"20", "b2", "B"}})},
        {"section header, comments, blank lines", entries({{"20", "b"}}), "[Strings]\r\n\r\n; c\r\n20=B\r\n",
         rebuilt({{"20", "b", "B"}})},
        {"LF-only ini file", entries({{"20", "b"}, {"30", "c"}}), "20=B\n30=C\n",
         rebuilt({{"20", "b", "B"}, {"30", "c", "C"}})},
        {"LF-only comparison file", "\n20:b\nb\n\n30:c\nc\n", "30=C\r\n",
         rebuilt({{"20", "b", "b"}, {"30", "c", "C"}})},
        {"values keep escapes and later equals signs", entries({{"20", "b"}}), "20=a=b\\n\\\\\r\n",
         rebuilt({{"20", "b", "a=b\\n\\\\"}})},
        {"keys with leading zeros", entries({{"20", "b"}}), "020=B\r\n", rebuilt({{"20", "b", "B"}})},
        {"numbers past 64 bits do not wrap", entries({{"18446744073709551617", "b"}}), "1=x\r\n18446744073709551616=y\r\n",
         rebuilt({{"18446744073709551617", "b", "b"}})},
        {"header and notes are dropped", "Kestrin 1.0\r\n" + entries({{"20", "b"}}) + "end\r\n", "20=B\r\n",
         rebuilt({{"20", "b", "B"}})},
        {"ini read up to a zero byte", entries({{"20", "b"}, {"30", "c"}}), "20=B\r\n\0""30=C\r\n"s,
         rebuilt({{"20", "b", "B"}, {"30", "c", "c"}})},
        // Only the entries before a zero byte are read, so only they are rewritten.
        {"comparison read up to a zero byte", entries({{"20", "b"}}) + "\0"s + entries({{"30", "c"}}), "30=C\r\n",
         rebuilt({{"20", "b", "b"}})},
        {"no entry", "just text\r\n", "20=B\r\n", std::nullopt},
        {"no key line", entries({{"20", "b"}}), "[Strings]\r\nb=B\r\n", std::nullopt},
        {"empty ini file", entries({{"20", "b"}}), "", std::nullopt},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        writeBytes(folder / "c.txt", c.comparison);
        writeBytes(folder / "c.ini", c.ini);
        RecordingReporter reporter;
        EXPECT_EQ(mergeIniIntoComparison(folder / "c.txt", folder / "c.ini", false, reporter), JobStatus::Completed)
            << c.name;
        EXPECT_EQ(reporter.messages.size(), 1u) << c.name;
        EXPECT_TRUE(isCompletion(reporter.message(), kFromIniDone)) << c.name;
        EXPECT_EQ(readBytes(folder / "c.txt"), c.result ? *c.result : c.comparison) << c.name;
        EXPECT_EQ(readBytes(folder / "c.ini"), c.ini) << c.name;
    }
}

TEST(MergeIniIntoComparison, ProgressCountsEveryMatchedLine) {
    ScratchFolder folder;
    writeBytes(folder / "c.txt", "\r\n100:10:30\r\n10:30\r\n\r\n200:B\r\nB\r\n");
    writeBytes(folder / "c.ini", "200=Y\r\n");
    RecordingReporter reporter;
    mergeIniIntoComparison(folder / "c.txt", folder / "c.ini", false, reporter);
    EXPECT_EQ(reporter.maximums, std::vector<std::int64_t>{3});
    EXPECT_EQ(reporter.advances, 3);
    EXPECT_EQ(reporter.position, 0);
    EXPECT_EQ(reporter.resets, 1);
}

TEST(MergeIniIntoComparison, BackupHoldsTheOldFile) {
    const std::string old = "\r\n20:b\r\nold\r\n";
    for (const bool backup : {true, false}) {
        ScratchFolder folder;
        writeBytes(folder / "x.exe.a.txt", old);
        writeBytes(folder / "x.exe.a.txt.BAK", "earlier backup");
        writeBytes(folder / "x.ini", "20=B\r\n");
        RecordingReporter reporter;
        EXPECT_EQ(mergeIniIntoComparison(folder / "x.exe.a.txt", folder / "x.ini", backup, reporter),
                  JobStatus::Completed);
        EXPECT_EQ(readBytes(folder / "x.exe.a.txt"), rebuilt({{"20", "b", "B"}}));
        EXPECT_EQ(readBytes(folder / "x.exe.a.txt.BAK"), backup ? old : "earlier backup");
    }
}

TEST(MergeIniIntoComparison, MissingComparisonFileNeedsNoBackup) {
    ScratchFolder folder;
    writeBytes(folder / "x.ini", "20=B\r\n");
    RecordingReporter reporter;
    EXPECT_EQ(mergeIniIntoComparison(folder / "x.txt", folder / "x.ini", true, reporter), JobStatus::Completed);
    EXPECT_FALSE(fileExists(folder / "x.txt"));
    EXPECT_FALSE(fileExists(folder / "x.txt.BAK"));
}

TEST(MergeIniIntoComparison, RefusesAndStops) {
    ScratchFolder folder;
    writeBytes(folder / "c.txt", "\r\n20:b\r\nb\r\n");
    writeBytes(folder / "c.ini", "20=B\r\n");
    std::filesystem::create_directory(folder / "folder.ini");
    struct Case {
        const char* name;
        std::filesystem::path comparison;
        std::filesystem::path ini;
        std::string message;
    };
    const std::string choose = "请先选择Kestrin对照文件和已本地化的 ini 文件！";
    const std::string missing = "ini 文件不存在，请重新选择！";
    const std::vector<Case> cases = {
        {"no comparison path", "", folder / "c.ini", choose},
        {"no ini path", folder / "c.txt", "", choose},
        {"ini file missing", folder / "c.txt", folder / "gone.ini", missing},
        {"ini path is a folder", folder / "c.txt", folder / "folder.ini", missing},
    };
    for (const auto& c : cases) {
        RecordingReporter reporter;
        EXPECT_EQ(mergeIniIntoComparison(c.comparison, c.ini, true, reporter), JobStatus::Stopped) << c.name;
        EXPECT_EQ(reporter.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(readBytes(folder / "c.txt"), "\r\n20:b\r\nb\r\n") << c.name;
        EXPECT_FALSE(fileExists(folder / "c.txt.BAK")) << c.name;
    }
}

// A backup that cannot be written, or a rewrite that fails, stops the job
// with the comparison file as it was.
TEST(MergeIniIntoComparison, FailedWriteLeavesTheComparisonFile) {
    const std::string old = "\r\n20:b\r\nold\r\n";
    for (const std::string failingFile : {"c.txt.BAK", "c.txt"}) {
        for (const WriteStage failing : {WriteStage::Create, WriteStage::Write, WriteStage::Rename}) {
            ScratchFolder folder;
            writeBytes(folder / "c.txt", old);
            writeBytes(folder / "c.ini", "20=B\r\n");
            const auto failingPath = folder / failingFile;
            setWriteFaultHook([&](WriteStage stage, const std::filesystem::path& target) {
                return !(stage == failing && target == failingPath);
            });
            RecordingReporter reporter;
            const JobStatus status = mergeIniIntoComparison(folder / "c.txt", folder / "c.ini", true, reporter);
            setWriteFaultHook(nullptr);
            EXPECT_EQ(status, JobStatus::Stopped) << failingFile;
            EXPECT_EQ(reporter.messages, std::vector<std::string>{writeFailedMessage(failingPath)}) << failingFile;
            EXPECT_EQ(reporter.position, 0);
            EXPECT_EQ(readBytes(folder / "c.txt"), old) << failingFile;
        }
    }
}

} // namespace
} // namespace kestrin
