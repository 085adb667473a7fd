#include "core/code_page.h"
#include "core/elapsed.h"
#include "core/file_io.h"
#include "core/pattern.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(ElapsedText, SixSignificantDigits) {
    EXPECT_EQ(elapsedText(0), "0");
    EXPECT_EQ(elapsedText(1.5), "1.5");
    EXPECT_EQ(elapsedText(0.047), "0.047");
    EXPECT_EQ(elapsedText(2), "2");
    EXPECT_EQ(elapsedText(12.34567), "12.3457");
}

TEST(Pattern, LinesEndBeforeCrLf) {
    const std::string text = "1:a\r\n2:b";
    Pattern p("^\\d+:(.*?)$");
    const auto m = p.searchAll(text);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m.text(text, 0, 1), "a");
    EXPECT_EQ(m.text(text, 1, 1), "b");
    EXPECT_EQ(Pattern("^\\d+:\\d+:(.*?)$").matchWhole("100:10:30"), 1);
    EXPECT_EQ(Pattern("^\\d+:\\d+:(.*?)$").matchWhole("100:x"), 0);
}

TEST(Pattern, UnmatchedGroupGivesEmptyText) {
    const std::string text = "7:";
    const auto m = Pattern("(^\\d+):((\\d+:)*)").searchAll(text);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m.text(text, 0, 3), "");
}

TEST(CodePage, RoundTripsAndSubstitutes) {
    const std::string gbk = "\xD6\xD0\xCE\xC4";  // 中文
    EXPECT_EQ(cp936ToUtf16(gbk), u"中文");
    EXPECT_EQ(utf16ToCp936(u"中文"), gbk);
    EXPECT_EQ(utf16ToCp936(u"\u00E9x"), "\xA8\xA6x");  // é exists in GBK
    EXPECT_EQ(utf16ToCp936(u"\U0001F600"), "?");
    EXPECT_EQ(cp936ToUtf8(gbk), "中文");
    EXPECT_EQ(utf8ToCp936("中文"), gbk);
    EXPECT_EQ(leBytesToUtf16(utf16ToLeBytes(u"ab中")), u"ab中");
}

TEST(FileIo, ReadsStopAtZeroAndWritesReplaceAtomically) {
    test::ScratchFolder dir;
    const auto file = dir / "a.txt";
    test::writeBytes(file, std::string("ab\0cd", 5));
    EXPECT_EQ(readFileText(file), "ab");
    EXPECT_EQ(readFileBytes(file).size(), 5u);
    EXPECT_EQ(readFileBytes(dir / "missing"), "");
    EXPECT_FALSE(tryReadFileBytes(dir / "missing").has_value());
    EXPECT_FALSE(tryReadFileBytes(dir.path()).has_value());

    ASSERT_TRUE(writeFileAtomic(file, {"new", "er"}));
    EXPECT_EQ(test::readBytes(file), "newer");
    EXPECT_FALSE(writeFileAtomic("", "x"));
    EXPECT_FALSE(writeFileAtomic(dir / "no" / "such.txt", "x"));
    EXPECT_FALSE(writeFileAtomic(dir.path(), "x"));
}

TEST(FileIo, ReplacedFileKeepsPermissionBits) {
    test::ScratchFolder dir;
    const auto file = dir / "prog.exe";
    test::writeBytes(file, "old");
    std::filesystem::permissions(file, std::filesystem::perms(0750));
    ASSERT_TRUE(writeFileAtomic(file, "new"));
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0750));
    ASSERT_TRUE(copyFileAtomic(file, dir / "copy"));
    EXPECT_EQ(test::readBytes(dir / "copy"), "new");
    EXPECT_FALSE(copyFileAtomic(dir / "missing", dir / "copy2"));
    EXPECT_FALSE(fileExists(dir / "copy2"));
}

TEST(FileIo, InjectedFaultLeavesTargetAndNoTemporaryFile) {
    test::ScratchFolder dir;
    const auto file = dir / "t.bin";
    test::writeBytes(file, "old");
    for (auto stage : {WriteStage::Create, WriteStage::Write, WriteStage::Sync, WriteStage::Rename}) {
        setWriteFaultHook([stage](WriteStage s, const std::filesystem::path&) { return s != stage; });
        EXPECT_FALSE(writeFileAtomic(file, "new"));
        setWriteFaultHook(nullptr);
        EXPECT_EQ(test::readBytes(file), "old");
        int count = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++count;
        EXPECT_EQ(count, 1);
    }
    EXPECT_EQ(writeFailedMessage("/x/y.txt"), "写入文件“/x/y.txt”失败！原文件未被修改。");
}

} // namespace
} // namespace kestrin
