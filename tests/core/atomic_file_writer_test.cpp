#include "core/atomic_file_writer.h"
#include "core/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(AtomicFileWriter, PiecesReplaceTheTargetOnlyAtCommit) {
    test::ScratchFolder dir;
    const auto file = dir / "out.txt";
    test::writeBytes(file, "old");
    AtomicFileWriter writer(file);
    ASSERT_TRUE(writer.open());
    ASSERT_TRUE(writer.append("first "));
    ASSERT_TRUE(writer.append("second"));
    EXPECT_EQ(test::readBytes(file), "old");
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(test::readBytes(file), "first second");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(AtomicFileWriter, DroppedOrFailedWriterLeavesTargetAndNoTemporaryFile) {
    test::ScratchFolder dir;
    const auto file = dir / "out.txt";
    test::writeBytes(file, "old");
    {
        AtomicFileWriter writer(file);
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.append("never kept"));
    }
    EXPECT_EQ(test::readBytes(file), "old");
    EXPECT_EQ(dir.entryCount(), 1u);

    // The second piece meets a full disk: the writer stays spoilt.
    int writes = 0;
    setWriteFaultHook([&writes](WriteStage stage, const std::filesystem::path&) {
        return stage != WriteStage::Write || ++writes < 2;
    });
    AtomicFileWriter writer(file);
    ASSERT_TRUE(writer.open());
    EXPECT_TRUE(writer.append("a"));
    EXPECT_FALSE(writer.append("b"));
    EXPECT_FALSE(writer.append("c"));
    EXPECT_FALSE(writer.commit());
    setWriteFaultHook(nullptr);
    EXPECT_EQ(test::readBytes(file), "old");
    EXPECT_EQ(dir.entryCount(), 1u);

    EXPECT_FALSE(AtomicFileWriter(dir.path()).open()) << "a folder is no target";
    EXPECT_FALSE(AtomicFileWriter(dir / "missing" / "x").open());
}

} // namespace
} // namespace kestrin
