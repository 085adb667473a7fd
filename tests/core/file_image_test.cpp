#include "core/file_image.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <numeric>

namespace kestrin {
namespace {

TEST(FileImage, HoldsTheFileBytesOrNothing) {
    test::ScratchFolder dir;
    std::string content(100000, '\0');
    std::iota(content.begin(), content.end(), 0);
    const std::pair<const char*, std::string> files[] = {{"big.bin", content}, {"empty.bin", ""}, {"one.bin", "x"}};
    for (const auto& [name, bytes] : files) {
        test::writeBytes(dir / name, bytes);
        auto image = FileImage::open(dir / name);
        ASSERT_TRUE(image.has_value()) << name;
        EXPECT_EQ(image->bytes(), bytes) << name;
        EXPECT_TRUE(image->intact());
        // A moved image still holds the bytes.
        FileImage moved = std::move(*image);
        EXPECT_EQ(moved.bytes(), bytes) << name;
    }
    EXPECT_FALSE(FileImage::open(dir / "missing.bin").has_value());
    EXPECT_FALSE(FileImage::open(dir.path()).has_value());
    EXPECT_FALSE(FileImage::open("").has_value());
}

TEST(FileImage, FileShortenedWhileReadReadsAsZerosAndIsNotIntact) {
    test::ScratchFolder dir;
    const auto file = dir / "p.bin";
    test::writeBytes(file, std::string(1 << 20, 'A'));
    auto image = FileImage::open(file);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(::truncate(file.c_str(), 4096), 0);
    const std::string_view bytes = image->bytes();
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[bytes.size() - 1], '\0') << "the vanished page reads as zeros";
    EXPECT_FALSE(image->intact());

    // Another image of the same file afterwards is whole again.
    auto again = FileImage::open(file);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->bytes(), std::string(4096, 'A'));
    EXPECT_TRUE(again->intact());
}

} // namespace
} // namespace kestrin
