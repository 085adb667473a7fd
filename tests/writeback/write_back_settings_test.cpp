#include "writeback/write_back_settings.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(ApplyWriteBackMode, SetsTargetCaptionCheckAndComparisonPath) {
    struct Row {
        WriteBackMode mode;
        const char* item;
        bool utf16;
        const char* caption;
        bool checked;
        const char* path;
    };
    const Row rows[] = {
        {WriteBackMode::WriteAscii, "ASCII", false, "自动修改字串长度标识", false, "/d/app.exe.a.txt"},
        {WriteBackMode::WriteUnicode, "UniCode", true, "自动修改字串长度标识", false, "/d/app.exe.u.txt"},
        {WriteBackMode::WriteUtf8, "UTF8", false, "自动修改字串长度标识", false, "/d/app.exe.u8.txt"},
        {WriteBackMode::WriteDelphiAscii, "Delphi[ASCII]", false, "自动修改字串长度标识（Delphi）", true, "/d/app.exe.d.txt"},
        {WriteBackMode::WriteDelphiUnicode, "Delphi[UniCode]", true, "自动修改字串长度标识（Delphi）", true,
         "/d/app.exe.du.txt"},
        {WriteBackMode::WriteVbUnicode, "VB[UniCode]", true, "自动修改字串长度标识（VB）", true, "/d/app.exe.vb.txt"},
    };
    for (int index = 0; index < kWriteBackModeCount; ++index) {
        const Row& row = rows[index];
        WriteBackSettings settings;
        settings.updateLengthPrefix = !row.checked;
        const auto update = applyWriteBackMode(index, "/d/app.exe", settings);
        ASSERT_TRUE(update) << index;
        EXPECT_EQ(settings.mode, row.mode);
        EXPECT_EQ(writeBackModeInfo(row.mode).itemText, row.item);
        EXPECT_EQ(settings.utf16Target, row.utf16) << index;
        EXPECT_EQ(settings.updateLengthPrefix, row.checked) << index;
        EXPECT_EQ(update->lengthPrefixCaption, row.caption) << index;
        EXPECT_EQ(update->comparisonPath, row.path) << index;
    }
    WriteBackSettings untouched;
    untouched.utf16Target = true;
    EXPECT_FALSE(applyWriteBackMode(-1, "/d/app.exe", untouched));
    EXPECT_FALSE(applyWriteBackMode(6, "/d/app.exe", untouched));
    EXPECT_TRUE(untouched.utf16Target);
}

TEST(WriteBackPanelRules, RangeAndDropRules) {
    EXPECT_EQ(rangeControlsFor(true).writeBackButtonCaption, "选择性回写");
    EXPECT_TRUE(rangeControlsFor(true).rangeBoxesEnabled);
    EXPECT_EQ(rangeControlsFor(false).writeBackButtonCaption, "全部回写");
    EXPECT_FALSE(rangeControlsFor(false).rangeBoxesEnabled);

    EXPECT_EQ(rangeBoxFilter(" 12a-3\xE4\xB8\xAD"), "123");
    EXPECT_TRUE(rangeBoxAcceptsCharacter(U'7'));
    EXPECT_FALSE(rangeBoxAcceptsCharacter(U'-'));
    EXPECT_FALSE(rangeBoxAcceptsCharacter(U'７')); // full-width digit

    EXPECT_TRUE(comparisonDropAccepted("/d/notes.TXT"));
    EXPECT_TRUE(comparisonDropAccepted("/d/app.exe.a.txt"));
    EXPECT_FALSE(comparisonDropAccepted("/d/notes.ini"));
    EXPECT_FALSE(comparisonDropAccepted("txt"));
}

} // namespace
} // namespace kestrin
