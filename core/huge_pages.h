#pragma once

#include <cstddef>

namespace kestrin {

// Asks the kernel to back the 2 MB-aligned part of a large, not yet touched
// buffer with huge pages: filling a buffer of hundreds of MB then takes a few
// hundred page faults instead of tens of thousands. Small buffers are left
// alone; the advice may be ignored.
void adviseHugePages(void* data, std::size_t size);

} // namespace kestrin
