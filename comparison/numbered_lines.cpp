#include "comparison/numbered_lines.h"

#include <array>

namespace kestrin::comparison {

namespace {

// The bytes that end a line for the pattern engine.
constexpr std::array<bool, 256> kLineBreakBytes = [] {
    std::array<bool, 256> table{};
    table['\n'] = table['\r'] = table['\f'] = true;
    return table;
}();

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool NumberedLineScanner::next(NumberedLine& line) {
    const std::size_t size = text_.size();
    const char* data = text_.data();
    while (position_ <= size) {
        const std::size_t start = position_;
        std::size_t i = start;
        while (i < size && isDigit(data[i])) ++i;
        const bool numbered = i > start && i < size && data[i] == mark_;
        const std::size_t markAt = i;
        std::size_t end = numbered ? i + 1 : i;
        while (end < size && !kLineBreakBytes[static_cast<unsigned char>(data[end])]) ++end;
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

std::size_t countNumberedLines(std::string_view text, char mark) {
    NumberedLineScanner scanner(text, mark);
    NumberedLine line;
    std::size_t count = 0;
    while (scanner.next(line)) ++count;
    return count;
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

} // namespace kestrin::comparison
