#pragma once

#include <chrono>
#include <string>

namespace kestrin {

// Measures a job's elapsed time on a monotonic clock.
class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_;
};

// Seconds printed with six significant digits in the "%.6g" style
// (0.047 -> "0.047", 2 -> "2", 12.34567 -> "12.3457").
std::string elapsedText(double seconds);

} // namespace kestrin
