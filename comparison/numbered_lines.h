#pragma once

// Finds the numbered lines of a comparison or ini text: lines that begin with
// decimal digits followed by a mark (":" for original lines, "=" for ini
// lines). The result is exactly that of the reader patterns "^\d+:(.*?)$" and
// "(^\d+)=(.*?)$" under the pattern engine's line rules: LF, CR and FF each
// end a line, a CR LF pair ends one line, and a line's text runs up to its
// first line break. The scan is a single pass over the bytes with no
// allocation, so it neither slows down nor gives up on long lines.

#include <cstddef>
#include <string_view>

namespace kestrin::comparison {

struct NumberedLine {
    std::size_t begin = 0;     // first digit
    std::size_t markAt = 0;    // the mark after the digits
    std::size_t end = 0;       // end of the line, before its line break
    std::size_t nextLine = 0;  // start of the line after it (past the end when there is none)

    std::string_view whole(std::string_view text) const { return text.substr(begin, end - begin); }
    std::string_view number(std::string_view text) const { return text.substr(begin, markAt - begin); }
    std::string_view rest(std::string_view text) const { return text.substr(markAt + 1, end - markAt - 1); }
};

class NumberedLineScanner {
public:
    NumberedLineScanner(std::string_view text, char mark) : text_(text), mark_(mark) {}

    // The next numbered line in file order; false when there is none left.
    bool next(NumberedLine& line);

private:
    std::size_t nextLineBreak(std::size_t from);

    std::string_view text_;
    char mark_;
    std::size_t position_ = 0; // start of the next line to look at
    // The next CR, LF and FF at or after the last place looked from (the text's
    // size when there is none), so each is searched for once per stretch.
    std::size_t nextBreak_[3] = {0, 0, 0};
    bool breaksKnown_[3] = {false, false, false};
};


// Compares two runs of decimal digits as whole numbers of any length
// (leading zeros do not count): negative, zero or positive.
int compareDigitRuns(std::string_view a, std::string_view b);

// Walks the original lines of a comparison text in file order and tells which
// of them are entries. A matched line is a translation line, and passed over,
// exactly when it stands on the line directly after the original line of the
// entry taken before it; every other matched line is an entry.
class EntryLineReader {
public:
    explicit EntryLineReader(std::string_view text) : scanner_(text, ':') {}

    // The next matched line; isEntry says whether it is an entry.
    bool next(NumberedLine& line, bool& isEntry);

private:
    NumberedLineScanner scanner_;
    std::size_t translationLine_ = static_cast<std::size_t>(-1);
};

// What a first pass over a comparison text finds, to size the job's progress
// and its output buffer.
struct EntrySurvey {
    std::size_t matchedLines = 0; // entries and passed-over translation lines
    std::size_t entries = 0;
    std::size_t entryLineBytes = 0; // the entries' original lines, without breaks
};
EntrySurvey surveyEntries(std::string_view text);

} // namespace kestrin::comparison
