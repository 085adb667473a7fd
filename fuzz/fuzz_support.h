#pragma once

// Helpers of the fuzz targets: a tmpfs folder for the files a job needs, and
// a way to end a run loudly when a property does not hold.

#include "core/reporter.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin::fuzz {

// A folder of this process under /dev/shm (the temporary folder when there is
// no /dev/shm), created on first use and removed at exit. TMPDIR points to it,
// so the restore copy of the write-back lands there too.
const std::filesystem::path& runFolder();

// Replaces the file's content (plain write: the fuzzed jobs do the atomic ones).
void putFile(const std::filesystem::path& path, std::string_view bytes);
std::string getFile(const std::filesystem::path& path);
// Removes every file of the run folder, so no run sees another run's output.
void clearRunFolder();

// Prints the broken property and aborts, which libFuzzer reports as a crash
// and keeps the input of.
[[noreturn]] void fail(const std::string& what);

// Counts messages and checks that a job reports exactly one.
class CountingReporter : public Reporter {
public:
    void setMaximum(std::int64_t) override {}
    void advance(std::int64_t) override {}
    void setPosition(std::int64_t) override {}
    void reset() override {}
    void showMessage(const std::string& text) override {
        ++count;
        message = text;
    }
    void expectOneMessage() const;

    int count = 0;
    std::string message;
};

// Splits fuzz input into parts at a separator byte string: the first bytes of
// the input pick options, the rest is cut into files.
struct InputReader {
    InputReader(const std::uint8_t* data, std::size_t size) : rest(reinterpret_cast<const char*>(data), size) {}
    std::uint8_t takeByte();
    // The bytes up to the next occurrence of separator (all when there is none).
    std::string_view takeUntil(std::string_view separator);
    std::string_view rest;
};

} // namespace kestrin::fuzz
