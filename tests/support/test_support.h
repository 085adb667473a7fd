#pragma once

// Helpers shared by the test suites: a reporter that records everything, a
// scratch folder removed at the end of a test, and file helpers.

#include "core/reporter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrin::test {

class RecordingReporter : public Reporter {
public:
    void setMaximum(std::int64_t maximum) override { maximums.push_back(maximum); }
    void advance(std::int64_t steps) override { position += steps; ++advances; }
    void setPosition(std::int64_t p) override { position = p; }
    void reset() override { position = 0; ++resets; }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    // The single message of the job; empty when there was none.
    std::string message() const { return messages.empty() ? std::string() : messages.back(); }

    std::vector<std::int64_t> maximums;
    std::int64_t position = 0;
    std::int64_t advances = 0;
    int resets = 0;
    std::vector<std::string> messages;
};

// A fresh folder under the temporary folder, removed when it goes out of scope.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // How many files and folders it holds (a temporary file left behind shows).
    std::size_t entryCount() const;

private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& path, const std::string& bytes);
std::string readBytes(const std::filesystem::path& path);

// Result of running a program as a child process.
struct ProcessResult {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
};

// Runs the command-line program with the given arguments (no shell).
ProcessResult runCli(const std::vector<std::string>& arguments);

} // namespace kestrin::test
