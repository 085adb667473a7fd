#include "comparison/ini_export.h"
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
using test::kToIniDone;
using test::readBytes;
using test::RecordingReporter;
using test::ScratchFolder;
using test::writeBytes;

struct ExportCase {
    const char* name;
    std::string comparison;
    std::optional<std::string> ini; // nullopt: no ini file is written
};

TEST(ConvertComparisonToIni, WritesOneLinePerEntry) {
    using namespace std::string_literals;
    const std::vector<ExportCase> cases = {
        {"two entries", "\r\n4660:Open\r\nOpen\r\n\r\n4672:Save\\tAll\r\nSave\\tAll\r\n",
         "4660=Open\r\n4672=Save\\tAll\r\n"},
        {"text with digits and colon", "\r\n100:10:30\r\n10:30\r\n\r\n200:B\r\nB\r\n", "100=10:30\r\n200=B\r\n"},
        {"translation lost its leading digits", "\r\n100:10:30\r\nhalf past ten\r\n\r\n200:B\r\nB\r\n",
         "100=10:30\r\n200=B\r\n"},
        {"translation that looks like an entry", "\r\n300:noon\r\n12:00\r\n\r\n400:C\r\nC\r\n",
         "300=noon\r\n400=C\r\n"},
        {"later colons and escapes stay", "\r\n7:a:b\\n\\\\c\r\nx\r\n", "7=a:b\\n\\\\c\r\n"},
        {"double-byte characters with a 0x5C trail byte", "\r\n3:\xD5\x5C\xB1\xA3\r\n\xD5\x5C\r\n",
         "3=\xD5\x5C\xB1\xA3\r\n"},
        {"header and notes are left out", "Kestrin 1.0\r\n; note\r\n\r\n5:x\r\nx\r\n", "5=x\r\n"},
        {"stops at a zero byte", "\r\n1:a\r\na\r\n\0\r\n2:b\r\nb\r\n"s, "1=a\r\n"},
        {"LF-only breaks", "\n1:a\na\n\n2:b\nb\n", "1=a\r\n2=b\r\n"},
        {"lone CR breaks", "\r1:a\ra\r\r2:b\rb\r", "1=a\r\n2=b\r\n"},
        {"last line without a break", "\r\n9:end", "9=end\r\n"},
        {"empty original text", "\r\n9:\r\n\r\n", "9=\r\n"},
        {"no entry", "just text\r\n:x\r\na1:x\r\n", std::nullopt},
        {"empty file", "", std::nullopt},
        {"zero byte first", "\0\r\n1:a\r\na\r\n"s, std::nullopt},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        writeBytes(folder / "app.a.txt", c.comparison);
        RecordingReporter reporter;
        EXPECT_EQ(convertComparisonToIni(folder / "app.a.txt", folder / "app.a.ini", reporter), JobStatus::Completed)
            << c.name;
        EXPECT_TRUE(isCompletion(reporter.message(), kToIniDone)) << c.name;
        EXPECT_EQ(reporter.messages.size(), 1u) << c.name;
        if (c.ini) {
            EXPECT_EQ(readBytes(folder / "app.a.ini"), *c.ini) << c.name;
        } else {
            EXPECT_FALSE(fileExists(folder / "app.a.ini")) << c.name;
        }
        EXPECT_EQ(readBytes(folder / "app.a.txt"), c.comparison) << c.name;
    }
}

TEST(ConvertComparisonToIni, ProgressCountsEveryMatchedLine) {
    ScratchFolder folder;
    // Three matched lines: two entries and one passed-over translation line.
    writeBytes(folder / "c.txt", "\r\n100:10:30\r\n10:30\r\n\r\n200:B\r\nB\r\n");
    RecordingReporter reporter;
    convertComparisonToIni(folder / "c.txt", folder / "c.ini", reporter);
    EXPECT_EQ(reporter.maximums, std::vector<std::int64_t>{3});
    EXPECT_EQ(reporter.advances, 3);
    EXPECT_EQ(reporter.position, 0);
    EXPECT_EQ(reporter.resets, 1);
}

TEST(ConvertComparisonToIni, NoEntryLeavesAnExistingIniFileAlone) {
    ScratchFolder folder;
    writeBytes(folder / "c.txt", "nothing here\r\n");
    writeBytes(folder / "c.ini", "1=translated\r\n");
    RecordingReporter reporter;
    EXPECT_EQ(convertComparisonToIni(folder / "c.txt", folder / "c.ini", reporter), JobStatus::Completed);
    EXPECT_EQ(readBytes(folder / "c.ini"), "1=translated\r\n");
}

TEST(ConvertComparisonToIni, RefusesAndStops) {
    ScratchFolder folder;
    const std::string content = "\r\n1:a\r\na\r\n";
    writeBytes(folder / "list.dat", content);
    struct Case {
        const char* name;
        std::filesystem::path comparison;
        std::filesystem::path ini;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"no comparison path", "", folder / "x.ini", "请先选择要转为 ini 格式的Pomaly对照文件！"},
        {"ini path is the comparison file", folder / "list.dat", folder / "list.dat",
         "ini 文件不能是Kestrin对照文件本身，请重新选择！"},
        {"the same file spelt otherwise", folder / "list.dat", folder.path() / "." / "list.dat",
         "ini 文件不能是Kestrin对照文件本身，请重新选择！"},
        {"no ini path while there are entries", folder / "list.dat", "", writeFailedMessage("")},
    };
    for (const auto& c : cases) {
        RecordingReporter reporter;
        EXPECT_EQ(convertComparisonToIni(c.comparison, c.ini, reporter), JobStatus::Stopped) << c.name;
        EXPECT_EQ(reporter.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(readBytes(folder / "list.dat"), content) << c.name;
    }
}

TEST(ConvertComparisonToIni, EmptyIniPathWithoutEntriesCompletes) {
    ScratchFolder folder;
    writeBytes(folder / "c.txt", "no entries\r\n");
    RecordingReporter reporter;
    EXPECT_EQ(convertComparisonToIni(folder / "c.txt", "", reporter), JobStatus::Completed);
    EXPECT_TRUE(isCompletion(reporter.message(), kToIniDone));
}

TEST(ConvertComparisonToIni, FailedWriteLeavesTheOldIniFile) {
    ScratchFolder folder;
    writeBytes(folder / "c.txt", "\r\n1:a\r\na\r\n");
    writeBytes(folder / "c.ini", "old\r\n");
    for (const WriteStage failing : {WriteStage::Create, WriteStage::Write, WriteStage::Sync, WriteStage::Rename}) {
        setWriteFaultHook([failing](WriteStage stage, const std::filesystem::path&) { return stage != failing; });
        RecordingReporter reporter;
        const JobStatus status = convertComparisonToIni(folder / "c.txt", folder / "c.ini", reporter);
        setWriteFaultHook(nullptr);
        EXPECT_EQ(status, JobStatus::Stopped);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{writeFailedMessage(folder / "c.ini")});
        EXPECT_EQ(reporter.position, 0);
        EXPECT_EQ(readBytes(folder / "c.ini"), "old\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2) << "temporary file left";
    }
}

} // namespace
} // namespace kestrin
