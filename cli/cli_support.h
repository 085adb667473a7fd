#pragma once

#include "core/reporter.h"

#include <CLI/CLI.hpp>

#include <string>

namespace kestrin::cli {

// Reports a job on the terminal: a progress bar on standard error when it is a
// terminal, the job's message on standard output at the end.
class TerminalReporter : public Reporter {
public:
    TerminalReporter();
    ~TerminalReporter() override;

    void setMaximum(std::int64_t maximum) override;
    void advance(std::int64_t steps) override;
    void setPosition(std::int64_t position) override;
    void reset() override;
    void showMessage(const std::string& text) override;

private:
    void draw(bool force);

    bool drawing_;
    std::int64_t maximum_ = 0;
    std::int64_t position_ = 0;
    int lastPercent_ = -1;
};

// Exit status of a job: 0 when it ended with its completion message, else 1.
int exitCodeFor(JobStatus status);

// Set by a subcommand's callback; read by main after parsing.
struct CommandContext {
    int exitCode = 0;
};

// The usage text of every subcommand.
const std::string& usageText();

// Raised by a subcommand that finds its arguments inconsistent after parsing.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void addToIniCommand(CLI::App& app, CommandContext& context);
void addFromIniCommand(CLI::App& app, CommandContext& context);
void addExtractCommand(CLI::App& app, CommandContext& context);
void addWriteBackCommand(CLI::App& app, CommandContext& context);
void addRestoreCommand(CLI::App& app, CommandContext& context);
void addEncodeCommand(CLI::App& app, CommandContext& context);

} // namespace kestrin::cli
