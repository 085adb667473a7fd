#include "extract/utf16_scanner.h"

#include "core/file_io.h"
#include "extract/delphi_scanner.h"
#include "extract/utf8_scanner.h"
#include "extract/vb_scanner.h"
#include "tests/extract/scanner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

using test::entry;
using test::hex;
using test::mixedText;
using test::plainText;

struct Case {
    const char* name;
    ExtractionSettings settings;
    std::string bytes;
    std::string expected;
};

TEST(Utf16Scanner, FindsZeroTerminatedStrings) {
    const Case cases[] = {
        {"plain ABC", plainText(), hex("41 00 42 00 43 00 00 00"), entry(0, "ABC")},
        {"plain start is the byte before the first zero", plainText(), hex("58 59 41 00 42 00 43 00 00 00"),
         entry(2, "ABC")},
        {"plain single character never found", plainText(), hex("41 00 00 00"), ""},
        {"two strings in order", plainText(), hex("41 00 42 00 00 00 43 00 44 00 00 00"),
         entry(0, "AB") + entry(6, "CD")},
        {"refused last unit refuses the piece", plainText(), hex("41 00 42 00 AB CD 00 00"), ""},
        {"plain zero as the last byte ends the scan", plainText(), hex("5A 41 00"), ""},
        {"terminator without the extra zero leaves an odd piece", plainText(), hex("41 00 42 00 00 58"), ""},
        {"mixed GBK 中文", mixedText(2), hex("2D 4E 87 65 00 00"), entry(0, "\xD6\xD0\xCE\xC4")},
        {"mixed refused unit restarts one byte later", mixedText(2), hex("58 41 00 42 00 00 00"), entry(1, "AB")},
        {"mixed single zero after whole units kept", mixedText(2), hex("2D 4E 00 00 00"), entry(0, "\xD6\xD0")},
        {"mixed unit outside GB2312 extended", mixedText(1), hex("E9 00 41 00 42 00 00 00"), entry(2, "AB")},
        {"mixed U+00E9 is GBK row A8", mixedText(2), hex("E9 00 41 00 00 00"), entry(0, "\xA8\xA6" "A")},
        // U+4E57 is 0x81 0x5C in GBK: its trail byte reaches the file as one backslash.
        {"mixed backslash trail byte stays single", mixedText(2), hex("57 4E 5C 00 00 00 00"),
         "\r\n0:\x81\x5C\\\\\r\n\x81\x5C\\\\\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::runSearch(searchUtf16Strings, c.bytes, c.settings).entries, c.expected) << c.name;
}

TEST(Utf16Scanner, MinimumLengthCountsAnsiBytes) {
    // "AB" has four UTF-16 bytes but two ANSI bytes.
    const std::string bytes = hex("41 00 42 00 00 00");
    EXPECT_EQ(test::runSearch(searchUtf16Strings, bytes, plainText(2)).entries, entry(0, "AB"));
    EXPECT_EQ(test::runSearch(searchUtf16Strings, bytes, plainText(3)).entries, "");
    // 中 gives two ANSI bytes from one unit.
    EXPECT_EQ(test::runSearch(searchUtf16Strings, hex("2D 4E 00 00"), mixedText(2, 2)).entries,
              entry(0, "\xD6\xD0"));
}

TEST(Utf16Scanner, ProgressCountsBlocksAndStepsOncePerJump) {
    EXPECT_EQ(test::runSearch(searchUtf16Strings, "", plainText()).maximums, std::vector<std::int64_t>{0});
    EXPECT_EQ(test::runSearch(searchUtf16Strings, std::string(8192, 'x'), plainText()).maximums,
              std::vector<std::int64_t>{2});
    EXPECT_EQ(test::runSearch(searchUtf16Strings, std::string(8193, 'x'), plainText()).maximums,
              std::vector<std::int64_t>{3});
    // One candidate whose terminator lies in the fourth block: a single step.
    std::string far(3 * 4096 + 100, 'x');
    far += hex("41 00 42 00 00 00");
    const test::SearchOutcome out = test::runSearch(searchUtf16Strings, far, plainText());
    EXPECT_EQ(out.steps, 1);
    EXPECT_EQ(out.maximums, std::vector<std::int64_t>{4});
}

// The frame every whole-image scanner runs in.
using Job = JobStatus (*)(const std::filesystem::path&, const std::filesystem::path&, const ExtractionSettings&,
                          Reporter&);

struct JobCase {
    const char* head;
    Job job;
    ExtractionSettings settings;
    std::string bytes;
    std::string expected;
    bool fillsProgress;
};

std::vector<JobCase> jobCases() {
    return {
        {"查找 UniCode 字串完毕，共用时: ", scanUtf16WholeFile, plainText(), hex("41 00 42 00 00 00"), entry(0, "AB"),
         true},
        {"查找 UTF8 字串完毕，共用时: ", scanUtf8WholeFile, mixedText(2), hex("00 E4 B8 AD 00 41"),
         entry(1, "\xD6\xD0"), true},
        {"查找 Delphi 字串（ASCII）完毕，共用时: ", scanDelphiAscii, plainText(), hex("FF FF FF FF 02 00 00 00 41 42 00"),
         entry(8, "AB"), false},
        {"查找 Delphi 字串（UniCode）完毕，共用时: ", scanDelphiUtf16, plainText(),
         hex("FF FF FF FF 02 00 00 00 41 00 42 00 00 00"), entry(8, "AB"), false},
        {"查找 VB 字串完毕，共用时: ", scanVbStrings, plainText(), hex("58 04 00 00 00 41 00 42 00 00 00"),
         entry(5, "AB"), false},
    };
}

TEST(ScanFrame, WritesEntriesThenShowsMessageAndResetsBar) {
    for (const JobCase& c : jobCases()) {
        test::ScratchFolder folder;
        test::writeBytes(folder / "p.exe", c.bytes);
        test::EventLog log;
        EXPECT_EQ(c.job(folder / "p.exe", folder / "out.txt", c.settings, log), JobStatus::Completed) << c.head;
        EXPECT_EQ(test::readBytes(folder / "out.txt"), c.expected) << c.head;
        ASSERT_EQ(log.messages.size(), 1u) << c.head;
        const std::string& message = log.messages[0];
        EXPECT_EQ(message.rfind(c.head, 0), 0u) << message;
        EXPECT_TRUE(message.ends_with(" 秒!")) << message;
        // The bar is full before the message only in the whole-file modes, and back at 0 after it.
        ASSERT_GE(log.events.size(), 3u);
        EXPECT_EQ(log.events.back(), "reset") << c.head;
        EXPECT_EQ(log.events[log.events.size() - 2], "message") << c.head;
        EXPECT_EQ(log.events[log.events.size() - 3] == "position 1", c.fillsProgress) << c.head;
    }
}

TEST(ScanFrame, EmptyFileGivesEmptyOutputAndTheUsualMessage) {
    for (const JobCase& c : jobCases()) {
        test::ScratchFolder folder;
        test::writeBytes(folder / "p.exe", "");
        test::writeBytes(folder / "out.txt", "old");
        test::RecordingReporter reporter;
        EXPECT_EQ(c.job(folder / "p.exe", folder / "out.txt", c.settings, reporter), JobStatus::Completed);
        EXPECT_EQ(test::readBytes(folder / "out.txt"), "") << c.head;
        EXPECT_EQ(reporter.message().rfind(c.head, 0), 0u);
    }
}

TEST(ScanFrame, UnreadableProgramFileLeavesOutputUntouched) {
    for (const JobCase& c : jobCases()) {
        test::ScratchFolder folder;
        test::writeBytes(folder / "out.txt", "previous comparison file");
        test::RecordingReporter reporter;
        EXPECT_EQ(c.job(folder / "missing.exe", folder / "out.txt", c.settings, reporter), JobStatus::Stopped);
        EXPECT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.message(), "读取“" + pathText(folder / "missing.exe") +
                                          "”失败！请检查文件是否正在被其它程序使用，并且共享方式设置为“禁止读”。");
        EXPECT_EQ(test::readBytes(folder / "out.txt"), "previous comparison file") << c.head;
    }
}

TEST(ScanFrame, FailedWriteIsReportedNotCompleted) {
    for (const JobCase& c : jobCases()) {
        test::ScratchFolder folder;
        test::writeBytes(folder / "p.exe", c.bytes);
        const std::filesystem::path output = folder / "no such folder" / "out.txt";
        test::RecordingReporter reporter;
        EXPECT_EQ(c.job(folder / "p.exe", output, c.settings, reporter), JobStatus::Stopped);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{writeFailedMessage(output)}) << c.head;
    }
}

} // namespace
} // namespace kestrin
