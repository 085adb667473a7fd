#pragma once

// Choosing the entries of a comparison file between two typed entry numbers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

struct RangeSelection {
    std::string refusal;  // the message when the range is refused; empty when accepted
    std::size_t first = 0; // index of the start entry
    std::size_t last = 0;  // index of the end entry (included)
};

// entryNumbers: the numbers of the file's entries in file order (not empty).
// Both limits must be numbers of existing entries, the minimum's entry before
// the maximum's.
RangeSelection selectRange(const std::vector<std::uint64_t>& entryNumbers, std::string_view minText,
                           std::string_view maxText);

} // namespace kestrin
