#include "comparison/numbered_lines.h"

#include <cstring>

namespace kestrin::comparison {

namespace {

// The bytes that end a line for the pattern engine.
constexpr char kLineBreakBytes[3] = {'\r', '\n', '\f'};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::size_t NumberedLineScanner::nextLineBreak(std::size_t from) {
    const std::size_t size = text_.size();
    std::size_t nearest = size;
    for (int k = 0; k < 3; ++k) {
        if (!breaksKnown_[k] || (nextBreak_[k] < from && nextBreak_[k] != size)) {
            const void* found = from < size ? std::memchr(text_.data() + from, kLineBreakBytes[k], size - from) : nullptr;
            nextBreak_[k] = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) : size;
            breaksKnown_[k] = true;
        }
        if (nextBreak_[k] < nearest) nearest = nextBreak_[k];
    }
    return nearest;
}

bool NumberedLineScanner::next(NumberedLine& line) {
    const std::size_t size = text_.size();
    const char* data = text_.data();
    while (position_ <= size) {
        const std::size_t start = position_;
        std::size_t i = start;
        while (i < size && isDigit(data[i])) ++i;
        const bool numbered = i > start && i < size && data[i] == mark_;
        const std::size_t markAt = i;
        const std::size_t end = nextLineBreak(numbered ? i + 1 : i);
        if (end == size) {
            position_ = size + 1;
        } else {
            position_ = end + ((data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? 2 : 1);
        }
        if (numbered) {
            line.begin = start;
            line.markAt = markAt;
            line.end = end;
            line.nextLine = position_;
            return true;
        }
    }
    return false;
}

int compareDigitRuns(std::string_view a, std::string_view b) {
    const auto trim = [](std::string_view digits) {
        const auto first = digits.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view() : digits.substr(first);
    };
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool EntryLineReader::next(NumberedLine& line, bool& isEntry) {
    if (!scanner_.next(line)) return false;
    isEntry = line.begin != translationLine_;
    translationLine_ = isEntry ? line.nextLine : static_cast<std::size_t>(-1);
    return true;
}

EntrySurvey surveyEntries(std::string_view text) {
    EntrySurvey survey;
    EntryLineReader reader(text);
    NumberedLine line;
    bool isEntry = false;
    while (reader.next(line, isEntry)) {
        ++survey.matchedLines;
        if (isEntry) {
            ++survey.entries;
            survey.entryLineBytes += line.end - line.begin;
        }
    }
    return survey;
}

} // namespace kestrin::comparison
