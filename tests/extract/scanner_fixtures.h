#pragma once

// Small helpers for the scanner tests: settings, byte fixtures written as hex,
// minimal 32-bit PE images, expected entries, and a reporter that logs the
// order of its calls.

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

// Little-endian fields and bytes written at an offset; the image grows to
// take them.
inline void put32(std::string& image, std::size_t at, std::uint32_t value) {
    if (image.size() < at + 4) image.resize(at + 4, '\0');
    for (std::size_t i = 0; i < 4; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void put16(std::string& image, std::size_t at, std::uint16_t value) {
    if (image.size() < at + 2) image.resize(at + 2, '\0');
    image[at] = static_cast<char>(value & 0xFF);
    image[at + 1] = static_cast<char>(value >> 8);
}

inline void putText(std::string& image, std::size_t at, std::string_view text) {
    if (image.size() < at + text.size()) image.resize(at + text.size(), '\0');
    image.replace(at, text.size(), text);
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawPointer;
    std::uint32_t rawSize;
};

inline constexpr std::uint32_t kHeader = 0x80;

// A minimal 32-bit PE image of the given size: MZ, the header offset at 0x3C,
// "PE\0\0", the section count, the optional header magic, the image base and
// the section table at header + 248.
inline std::string peImage(std::size_t size, std::uint32_t imageBase, const std::vector<Section>& sections,
                           std::uint16_t magic = 0x10B) {
    std::string image(size, '\0');
    putText(image, 0, "MZ");
    put32(image, 0x3C, kHeader);
    putText(image, kHeader, std::string_view("PE\0\0", 4));
    put16(image, kHeader + 6, static_cast<std::uint16_t>(sections.size()));
    put16(image, kHeader + 24, magic);
    put32(image, kHeader + 52, imageBase);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t at = kHeader + 248 + 40 * i;
        put32(image, at + 8, sections[i].virtualSize);
        put32(image, at + 12, sections[i].virtualAddress);
        put32(image, at + 16, sections[i].rawSize);
        put32(image, at + 20, sections[i].rawPointer);
    }
    return image;
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
