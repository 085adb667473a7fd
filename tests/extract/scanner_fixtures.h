#pragma once

// Small helpers for the scanner tests: settings, byte fixtures written as hex,
// expected entries, and a reporter that logs the order of its calls.

#include "core/reporter.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::test {

inline ExtractionSettings plainText(std::int32_t minLength = 1) {
    ExtractionSettings s;
    s.textClassMode = TextClassMode::AsciiOnly;
    s.doubleByteClass = 0;
    s.minLength = minLength;
    return s;
}

// Mixed text with a double-byte class: 1 GB2312 extended, 2 GBK, 3 BIG5.
inline ExtractionSettings mixedText(int doubleByteClass, std::int32_t minLength = 1) {
    ExtractionSettings s = plainText(minLength);
    s.textClassMode = TextClassMode::Mixed;
    s.doubleByteClass = static_cast<std::uint8_t>(doubleByteClass);
    return s;
}

// "41 00 4E" -> the three bytes.
inline std::string hex(std::string_view text) {
    std::string out;
    int high = -1;
    for (char c : text) {
        int v = -1;
        if (c >= '0' && c <= '9') v = c - '0';
        if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        if (v < 0) continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

// One entry as the comparison file holds it, for a text without escapes.
inline std::string entry(std::int64_t offset, std::string_view text) {
    const std::string line(text);
    return "\r\n" + std::to_string(offset) + ":" + line + "\r\n" + line + "\r\n";
}

using SearchFunction = void (*)(std::string_view, const ExtractionSettings&, EntryBuffer&, Reporter&);

struct SearchOutcome {
    std::string entries;
    std::vector<std::int64_t> maximums;
    std::int64_t steps = 0;
};

inline SearchOutcome runSearch(SearchFunction search, const std::string& bytes, const ExtractionSettings& settings) {
    class Counting : public Reporter {
    public:
        explicit Counting(SearchOutcome& o) : out(o) {}
        void setMaximum(std::int64_t m) override { out.maximums.push_back(m); }
        void advance(std::int64_t s) override { out.steps += s; }
        void setPosition(std::int64_t) override {}
        void reset() override {}
        void showMessage(const std::string&) override {}
        SearchOutcome& out;
    };
    SearchOutcome outcome;
    Counting reporter(outcome);
    EntryBuffer entries(settings);
    search(bytes, settings, entries, reporter);
    outcome.entries = entries.bytes();
    return outcome;
}

// Logs every call in order ("max 2", "step", "position 2", "message ...", "reset").
class EventLog : public Reporter {
public:
    void setMaximum(std::int64_t m) override { events.push_back("max " + std::to_string(m)); }
    void advance(std::int64_t s) override { events.push_back(s == 1 ? "step" : "step " + std::to_string(s)); }
    void setPosition(std::int64_t p) override { events.push_back("position " + std::to_string(p)); }
    void reset() override { events.push_back("reset"); }
    void showMessage(const std::string& text) override {
        events.push_back("message");
        messages.push_back(text);
    }
    std::vector<std::string> events;
    std::vector<std::string> messages;
};

} // namespace kestrin::test
