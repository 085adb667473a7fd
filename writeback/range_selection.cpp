#include "writeback/range_selection.h"

#include "core/byte_text.h"

#include <cmath>

namespace kestrin {
namespace {

bool below(double a, double b) { return a < b && !numbersEqual(a, b); }

// The integer part of a range limit; a negative limit cannot name an entry.
std::uint64_t truncated(double value) {
    if (!(value >= 0)) return UINT64_MAX;
    if (value >= 1.8e19) return UINT64_MAX - 1;
    return static_cast<std::uint64_t>(std::trunc(value));
}

RangeSelection refuse(const char* message) { return RangeSelection{message, 0, 0}; }

} // namespace

RangeSelection selectRange(const std::vector<std::uint64_t>& entryNumbers, std::string_view minText,
                           std::string_view maxText) {
    if (minText.empty() || maxText.empty()) return refuse("请先输入有效的回写范围！");
    const double first = static_cast<double>(entryNumbers.front());
    const double last = static_cast<double>(entryNumbers.back());
    const double min = textToNumber(minText);
    const double max = textToNumber(maxText);
    if (below(min, first) || below(last, min)) return refuse("输入的回写范围最小值已超出实际范围！请重新输入。");
    if (!below(min, max)) return refuse("输入的回写范围最大值应大于最小值！请重新输入。");
    if (below(max, first) || below(last, max)) return refuse("输入的回写范围最大值已超出实际范围！请重新输入。");

    const std::uint64_t minNumber = truncated(min);
    const std::uint64_t maxNumber = truncated(max);
    bool haveStart = false;
    RangeSelection selection;
    for (std::size_t i = 0; i < entryNumbers.size(); ++i) {
        if (entryNumbers[i] == minNumber) {
            selection.first = i;
            haveStart = true;
        }
        if (entryNumbers[i] == maxNumber) {
            if (!haveStart) break;
            selection.last = i;
            return selection;
        }
    }
    return refuse("输入的回写范围最小值或最大值不正确！请重新输入。");
}

} // namespace kestrin
