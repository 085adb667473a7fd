#include "core/elapsed.h"

#include <cstdio>

namespace kestrin {

std::string elapsedText(double seconds) {
    // The elapsed seconds are kept in single precision before printing.
    const float value = static_cast<float>(seconds);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(value));
    return buffer;
}

} // namespace kestrin
