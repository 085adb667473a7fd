#include "tests/writeback/write_back_fixture.h"

#include "core/byte_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin::test {
namespace {

using M = WriteBackMode;

const std::string kImage = std::string("MZ\0\0Open\0\0\0\0Quit\0", 17); // Open at 4, Quit at 12
const std::string kMismatchAnsi =
    "\n\n上面对照行文本与程序文件实际位置处字串不符，如强行回写翻译行文本可能会导致程序出错，故回写操作已被中止。请验证要回写的Kestrin文件的正确性。";

std::string crlf(std::string text) {
    replaceAllBytes(text, "\n", "\r\n");
    return text;
}

bool startsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

TEST_F(WriteBackTest, RefusalsBeforeAnyEntryWriteNothing) {
    givenFiles(kImage, entry("4", "Open", "Shut"));
    const auto settings = settingsFor(M::WriteAscii);

    reporter = RecordingReporter();
    EXPECT_EQ(runWriteBack("", comparison, settings, true, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "请先选择程序文件和已本地化的Kestrin对照文件！");
    EXPECT_EQ(runWriteBack(program, "", settings, true, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "请先选择程序文件和已本地化的Kestrin对照文件！");
    EXPECT_EQ(runWriteBack(program, scratch / "none.txt", settings, true, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "Kestrin对照文件不存在！请重新选择。");

    // An unreadable program file must not read as an empty image: an empty
    // original would pass its check and an empty file would be written.
    const auto missing = scratch / "missing.exe";
    writeBytes(comparison, entry("0", "", "abc"));
    EXPECT_EQ(runWriteBack(missing, comparison, settings, true, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "读取“" + pathText(missing) + "”失败！请检查文件是否存在并且未被其它程序占用。");
    EXPECT_FALSE(fileExists(missing));
    EXPECT_EQ(reporter.messages.size(), 4u);
    expectNothingWritten();
}

TEST_F(WriteBackTest, ComparisonFilesWithoutUsableEntries) {
    const std::vector<std::string> texts = {
        "",
        "no entries here\r\njust text\r\n",
        "\r\nabc:Open\r\nShut\r\n\r\n-4:Open\r\nShut\r\n\r\n:Open\r\nShut\r\n",
        "4:Open\nShut\n", // the write-back reader needs CR LF
        std::string(2, ' ') + [] { std::string s; for (int i = 0; i < 100000; ++i) s += "1:"; return s; }(),
    };
    for (const auto& text : texts) {
        givenFiles(kImage, text);
        EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped);
        EXPECT_EQ(reporter.message(), "请验证Kestrin对照文件格式的正确性！") << text.substr(0, 40);
        expectNothingWritten();
    }
    // The pattern engine giving up on a pathological file stops the job even
    // after valid entries.
    std::string pathological = entry("4", "Open", "Shut") + "\r\n";
    for (int i = 0; i < 100000; ++i) pathological += "1:";
    givenFiles(kImage, pathological);
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "请验证Kestrin对照文件格式的正确性！");
    expectNothingWritten();
}

TEST_F(WriteBackTest, MismatchStopsWithTheMessageOfTheEncoding) {
    struct Case {
        M mode;
        std::string image;
        std::string tail;
    };
    const std::vector<Case> cases = {
        {M::WriteAscii, kImage, "上面对照行文本与程序文件实际位置处字串不符"},
        // The UTF-16 string continues past the original's last character.
        {M::WriteUnicode, wide("Openx"), "上面对照行文本转为 UniCode 与程序文件实际位置处 UniCode 字串不符"},
        {M::WriteUtf8, std::string("Openx\0", 6), "上面对照行文本转为 UTF8 与程序文件实际位置处 UTF8 字串不符"},
    };
    for (const auto& c : cases) {
        const std::string original = c.mode == M::WriteAscii ? "Opem" : "Open";
        const std::string offset = c.mode == M::WriteAscii ? "4" : "0";
        givenFiles(c.image, entry(offset, original, "Shut") + entry("12", "Quit", "Exit"));
        EXPECT_EQ(run(settingsFor(c.mode)), JobStatus::Stopped);
        const std::string message = reporter.message();
        EXPECT_TRUE(startsWith(message, offset + ":" + original + "\r\n\r\n" + c.tail)) << message;
        EXPECT_NE(message.find("请验证要回写的Kestrin文件的正确性。"), std::string::npos);
        EXPECT_EQ(reporter.resets, 1);
        expectNothingWritten();
    }
}

TEST_F(WriteBackTest, MismatchMessageShowsTheLineAsWrittenInUtf8) {
    // 中 in code page 936, and an escaped tab: shown as written, not decoded.
    givenFiles(kImage, entry("0004", "\xD6\xD0\\t", "x"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped);
    EXPECT_TRUE(startsWith(reporter.message(), "0004:中\\t\r\n\r\n上面对照行文本与")) << reporter.message();
}

TEST_F(WriteBackTest, OffsetsOutsideTheImageStopAndNeverWrap) {
    const std::vector<std::string> numbers = {
        "17", "99", "2147483647", "2147483648", "4294967295",
        "4294967300",            // 2^32 + 4: "Open" stands at 4, but this is not offset 4
        "18446744073709551620",  // 2^64 + 4
        "99999999999999999999999999999",
    };
    for (const auto& number : numbers) {
        givenFiles(kImage, entry(number, "Open", "Shut"));
        EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped) << number;
        EXPECT_EQ(reporter.message(), crlf(number + ":Open" + kMismatchAnsi)) << number;
        expectNothingWritten();
    }
    givenFiles(kImage, entry("4294967296", "Open", "Shut"));
    EXPECT_EQ(run(settingsFor(M::WriteUnicode)), JobStatus::Stopped);
    expectNothingWritten();
}

TEST_F(WriteBackTest, EveryEntryIsCheckedEvenWithoutChange) {
    // The first entry is unchanged but wrong; nothing may be written for the second.
    givenFiles(kImage, entry("4", "Opem", "Opem") + entry("12", "Quit", "Exit"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped);
    EXPECT_TRUE(startsWith(reporter.message(), "4:Opem\r\n\r\n上面对照行文本与"));
    expectNothingWritten();
}

TEST_F(WriteBackTest, MissingTranslationLine) {
    // An empty translation line followed by another entry: the next original
    // line is taken as the translation, and its number gives it away.
    givenFiles(kImage, "\r\n4:Open\r\n\r\n\r\n12:Quit\r\nExit\r\n");
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(),
              "4:Open\r\n\r\n上面对照文本行的后面缺少翻译文本行，如强行回写则会导致程序出错，故回写操作已被中止。请检验上述提示处。");
    expectNothingWritten();

    // A translation keeping the original's own leading digits is not missing.
    const std::string image = std::string("10:30\0", 6);
    givenFiles(image, entry("0", "10:30", "10:45"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Completed);
    EXPECT_EQ(readBytes(program), std::string("10:45\0", 6));
}

TEST_F(WriteBackTest, LastEntryWithNothingAfterItIsPaddedOut) {
    for (const bool spaces : {false, true}) {
        givenFiles(kImage, entry("4", "Open", "Shut") + "\r\n12:Quit\r\n\r\n");
        auto settings = settingsFor(M::WriteAscii);
        settings.padWithSpaces = spaces;
        EXPECT_EQ(run(settings), JobStatus::Completed);
        const std::string quit = spaces ? "    " : std::string(4, '\0');
        EXPECT_EQ(readBytes(program), std::string("MZ\0\0Shut\0\0\0\0", 12) + quit + std::string(1, '\0'));
    }
}

TEST_F(WriteBackTest, OverlongReportAndCompletionMessages) {
    // An earlier report stays when a run has nothing overlong.
    givenFiles(kImage, entry("4", "Open", "Shut"));
    writeBytes(report(), "earlier");
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Completed);
    EXPECT_TRUE(startsWith(reporter.message(), "写回程序文件完毕，共用时： "));
    EXPECT_NE(reporter.message().find(" 秒！\r\n\r\nKestrin文件中未发现超长字串。"), std::string::npos);
    EXPECT_EQ(readBytes(report()), "earlier");

    // "Quit" has one zero byte after it and so no room; a translation far
    // longer than the whole file has none either.
    const std::string longer = std::string(1000, 'x');
    const std::string text = entry("4", "Open", "Opened") + entry("12", "Quit", "Quitting") + "\r\n\r\n" +
                             entry("4", "Open", longer);
    givenFiles(kImage, text);
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Completed);
    EXPECT_EQ(readBytes(program), std::string("MZ\0\0Opened\0\0Quit\0", 17));
    EXPECT_EQ(readBytes(report()), "\r\n12:Quit\r\nQuitting\r\n\r\n4:Open\r\n" + longer + "\r\n");
    const std::string message = reporter.message();
    EXPECT_TRUE(startsWith(message, "写回程序文件完毕，共用时： ")) << message;
    const std::string tail =
        " 秒！\r\n\r\n注意: Kestrin文件中的超长字串未被回写，详细信息请查看程序文件所在目录下文件: “app.exe.a.txt_超长字串.txt”";
    ASSERT_GE(message.size(), tail.size());
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
}

TEST_F(WriteBackTest, BackupRestoreCopyAndRestore) {
    givenFiles(kImage, entry("4", "Open", "Shut"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Completed);
    const std::string first = readBytes(program);
    EXPECT_EQ(readBytes(backup()), kImage);
    EXPECT_EQ(readBytes(restoreCopyPath()), kImage);
    EXPECT_EQ(restoreCopyPath(), temporary / "wenlo53.tmp");

    // A second run: the backup and the restore copy hold the first run's output.
    writeBytes(comparison, entry("4", "Shut", "Exit"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Completed);
    EXPECT_EQ(readBytes(backup()), first);

    EXPECT_EQ(restoreProgram(program, reporter), JobStatus::Completed);
    EXPECT_EQ(reporter.message(), "还原成功！");
    EXPECT_EQ(readBytes(program), first);
    EXPECT_FALSE(fileExists(backup()));
    EXPECT_TRUE(fileExists(restoreCopyPath()));
    // Restoring again copies the same restore copy; no backup is no error.
    EXPECT_EQ(restoreProgram(program, reporter), JobStatus::Completed);

    deleteFile(restoreCopyPath());
    EXPECT_EQ(restoreProgram(program, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "还原失败！请检验文件是否正在被使用。");
    EXPECT_EQ(readBytes(program), first);

    // Without the backup option no ".BAK" is made.
    givenFiles(kImage, entry("4", "Open", "Shut"));
    EXPECT_EQ(run(settingsFor(M::WriteAscii), false), JobStatus::Completed);
    EXPECT_FALSE(fileExists(backup()));
}

TEST_F(WriteBackTest, FailedWriteStopsAndKeepsTheProgramFile) {
    const auto targets = {report(), backup(), restoreCopyPath(), program};
    for (const auto& target : targets) {
        givenFiles(kImage, entry("4", "Open", "Shut") + entry("12", "Quit", "Quitting"));
        setWriteFaultHook([target](WriteStage stage, const std::filesystem::path& path) {
            return !(stage == WriteStage::Rename && path == target);
        });
        EXPECT_EQ(run(settingsFor(M::WriteAscii)), JobStatus::Stopped) << target;
        setWriteFaultHook(nullptr);
        EXPECT_EQ(reporter.message(), writeFailedMessage(target));
        EXPECT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(readBytes(program), kImage) << target;
        if (target == report()) {
            EXPECT_FALSE(fileExists(restoreCopyPath()));
        }
    }
}

TEST_F(WriteBackTest, RangeProcessesOnlyTheChosenEntries) {
    std::string image(420, '\0');
    for (int at : {100, 200, 300, 400}) image.replace(static_cast<std::size_t>(at), 3, "abc");
    givenFiles(image, entry("100", "abc", "AB") + entry("200", "abc", "AB") + entry("300", "abc", "AB") +
                          entry("400", "abc", "AB"));
    auto settings = settingsFor(M::WriteAscii);
    settings.useRange = true;
    settings.rangeMinText = "100";
    settings.rangeMaxText = "300";
    EXPECT_EQ(run(settings), JobStatus::Completed);
    EXPECT_EQ(reporter.maximums, std::vector<std::int64_t>{3});
    EXPECT_EQ(reporter.advances, 3);
    std::string expected = image;
    for (int at : {100, 200, 300}) expected.replace(static_cast<std::size_t>(at), 3, std::string("AB\0", 3));
    EXPECT_EQ(readBytes(program), expected);

    settings.rangeMaxText = "250";
    givenFiles(image, readBytes(comparison));
    EXPECT_EQ(run(settings), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "输入的回写范围最小值或最大值不正确！请重新输入。");
    expectNothingWritten();
}

TEST_F(WriteBackTest, WholeSentenceMovesEverythingBehind) {
    std::string image(60, '.');
    image.replace(10, 3, "abc");
    image.replace(50, 3, "xyz");
    givenFiles(image, entry("10", "abc", "abcdef") + entry("50", "xyz", "x") + entry("55", "", "zz"));
    auto settings = settingsFor(M::WriteAscii);
    settings.wholeSentence = true;
    settings.padWithSpaces = true; // not read in this mode
    EXPECT_EQ(run(settings), JobStatus::Completed);
    std::string expected = image;
    expected.replace(50, 3, "x");
    expected.replace(10, 3, "abcdef");
    EXPECT_EQ(readBytes(program), expected);
    EXPECT_TRUE(startsWith(reporter.message(), "全句替换文件完毕，共用时： "));
    EXPECT_TRUE(reporter.message().ends_with(" 秒！"));

    // UTF-16: exactly one terminator right after the translation.
    const std::string wideImage = "MZ" + wide("abcde") + wide("next");
    givenFiles(wideImage, entry("2", "abcde", "xy") + entry("14", "next", "NEXT"));
    settings = settingsFor(M::WriteUnicode);
    settings.wholeSentence = true;
    EXPECT_EQ(run(settings), JobStatus::Completed) << reporter.message();
    EXPECT_EQ(readBytes(program), "MZ" + wide("xy") + wide("NEXT"));

    // Entries out of order are looked for at the shifted place and stop the run.
    givenFiles(image, entry("50", "xyz", "xyzxyz") + entry("10", "abc", "a"));
    settings = settingsFor(M::WriteAscii);
    settings.wholeSentence = true;
    EXPECT_EQ(run(settings), JobStatus::Stopped);
    EXPECT_TRUE(startsWith(reporter.message(), "10:abc\r\n\r\n上面对照行文本与"));
    expectNothingWritten();
}

} // namespace
} // namespace kestrin::test
