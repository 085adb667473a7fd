#pragma once

#include <cstdint>
#include <string>

namespace kestrin {

// How a job tells its caller what it is doing. A job sets a maximum, advances
// the position, resets the bar to 0 at the end and reports exactly one message
// (UTF-8 text, the same text the window shows in its message box).
class Reporter {
public:
    virtual ~Reporter() = default;

    virtual void setMaximum(std::int64_t maximum) = 0;
    virtual void advance(std::int64_t steps = 1) = 0;
    virtual void setPosition(std::int64_t position) = 0;
    virtual void reset() = 0;
    virtual void showMessage(const std::string& text) = 0;
};

// A reporter that ignores progress and keeps the message; used where only the
// outcome matters.
class SilentReporter : public Reporter {
public:
    void setMaximum(std::int64_t) override {}
    void advance(std::int64_t) override {}
    void setPosition(std::int64_t) override {}
    void reset() override {}
    void showMessage(const std::string& text) override { message = text; }

    std::string message;
};

// How a job ended: with its completion message, or with any other message
// (a refusal, a stop or a failure).
enum class JobStatus { Completed, Stopped };

} // namespace kestrin
