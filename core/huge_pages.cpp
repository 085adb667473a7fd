#include "core/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace kestrin {

void adviseHugePages(void* data, std::size_t size) {
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (size < 4 * kHuge) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + size) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace kestrin
