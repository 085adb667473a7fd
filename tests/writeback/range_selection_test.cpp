#include "writeback/range_selection.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrin {
namespace {

TEST(SelectRange, LimitsMustNameEntriesInOrder) {
    const std::vector<std::uint64_t> numbers = {100, 200, 300, 400};
    struct Case {
        const char* min;
        const char* max;
        const char* refusal;
        std::size_t first, last;
    };
    const Case cases[] = {
        {"100", "300", "", 0, 2},
        {"200", "400", "", 1, 3},
        {"100.00000001", "300", "", 0, 2}, // within the tolerance
        {"", "300", "请先输入有效的回写范围！", 0, 0},
        {"100", "", "请先输入有效的回写范围！", 0, 0},
        {"99", "300", "输入的回写范围最小值已超出实际范围！请重新输入。", 0, 0},
        {"401", "500", "输入的回写范围最小值已超出实际范围！请重新输入。", 0, 0},
        {"300", "300", "输入的回写范围最大值应大于最小值！请重新输入。", 0, 0},
        {"300", "200", "输入的回写范围最大值应大于最小值！请重新输入。", 0, 0},
        {"100", "401", "输入的回写范围最大值已超出实际范围！请重新输入。", 0, 0},
        {"100", "250", "输入的回写范围最小值或最大值不正确！请重新输入。", 0, 0},
        {"150", "300", "输入的回写范围最小值或最大值不正确！请重新输入。", 0, 0},
        {"abc", "300", "输入的回写范围最小值已超出实际范围！请重新输入。", 0, 0}, // reads as 0
    };
    for (const auto& c : cases) {
        const auto selection = selectRange(numbers, c.min, c.max);
        EXPECT_EQ(selection.refusal, c.refusal) << c.min << ".." << c.max;
        if (selection.refusal.empty()) {
            EXPECT_EQ(selection.first, c.first) << c.min << ".." << c.max;
            EXPECT_EQ(selection.last, c.last) << c.min << ".." << c.max;
        }
    }
}

TEST(SelectRange, FileOrderDecides) {
    // Entries out of ascending order: the maximum's entry comes first.
    EXPECT_EQ(selectRange({100, 300, 200, 400}, "200", "300").refusal,
              "输入的回写范围最小值或最大值不正确！请重新输入。");
    // A repeated minimum: the later entry is the start.
    const auto repeated = selectRange({100, 150, 100, 200}, "100", "200");
    EXPECT_TRUE(repeated.refusal.empty());
    EXPECT_EQ(repeated.first, 2u);
    EXPECT_EQ(repeated.last, 3u);
}

} // namespace
} // namespace kestrin
