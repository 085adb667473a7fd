#include "writeback/entry_reader.h"

#include "comparison/comparison_format.h"
#include "core/pattern.h"

#include <cstring>

namespace kestrin {
namespace {

// Line separators as the pattern engine knows them ("^" and "$").
bool isSeparator(char c) { return c == '\n' || c == '\r' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - at;
}

// End of the longest run of digits-and-colon groups starting at at, and how
// many groups it holds.
std::size_t prefixRunEnd(std::string_view text, std::size_t at, std::size_t& groups) {
    groups = 0;
    while (true) {
        const std::size_t digits = digitsFrom(text, at);
        if (digits == 0 || at + digits >= text.size() || text[at + digits] != ':') return at;
        at += digits + 1;
        ++groups;
    }
}

// "^" at position at: the start of the text on the first search, else after a
// separator that is not the CR of a CR LF pair.
bool lineStartsAt(std::string_view text, std::size_t at) {
    if (at == 0) return true;
    const char before = text[at - 1];
    if (!isSeparator(before)) return false;
    return !(before == '\r' && at < text.size() && text[at] == '\n');
}

std::size_t findCrLf(std::string_view text, std::size_t from) {
    while (true) {
        const std::size_t cr = text.find('\r', from);
        if (cr == std::string_view::npos || cr + 1 >= text.size()) return std::string_view::npos;
        if (text[cr + 1] == '\n') return cr;
        from = cr + 1;
    }
}

// True when a line after the one at from begins with digits and a colon.
bool laterEntryLine(std::string_view text, std::size_t from) {
    for (std::size_t at = from + 1; at < text.size(); ++at) {
        if (!lineStartsAt(text, at)) continue;
        const std::size_t digits = digitsFrom(text, at);
        if (digits > 0 && at + digits < text.size() && text[at + digits] == ':') return true;
    }
    return false;
}

enum class Attempt { Matched, NoMatch, NoMoreMatches, Backtracks };

Attempt matchAt(std::string_view text, std::size_t start, EntryMatch& match) {
    const std::size_t digits = digitsFrom(text, start);
    if (digits == 0 || start + digits >= text.size() || text[start + digits] != ':') return Attempt::NoMatch;
    match.begin = start;
    match.numberEnd = start + digits;
    std::size_t groups = 0;
    match.originalPrefixEnd = prefixRunEnd(text, match.numberEnd + 1, groups);
    const std::size_t crlf = findCrLf(text, match.originalPrefixEnd);
    if (crlf == std::string_view::npos) {
        // No line break follows, so no later line can match either. With a
        // leading run the engine would retry every shorter run first, which is
        // where it may give up; let it decide.
        return groups > 0 ? Attempt::Backtracks : Attempt::NoMoreMatches;
    }
    match.originalEnd = crlf;
    std::size_t after = crlf;
    while (after + 1 < text.size() && text[after] == '\r' && text[after + 1] == '\n') after += 2;
    match.translationBegin = after;
    match.translationPrefixEnd = prefixRunEnd(text, after, groups);
    std::size_t end = match.translationPrefixEnd;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    match.end = end;
    return Attempt::Matched;
}

} // namespace

EntryList readEntries(std::string_view text) {
    EntryList list;
    list.entries.reserve(text.size() / 64);
    std::size_t at = 0;
    while (at <= text.size()) {
        if (lineStartsAt(text, at)) {
            EntryMatch match;
            switch (matchAt(text, at, match)) {
            case Attempt::Matched:
                list.entries.push_back(match);
                at = match.end;
                continue;
            case Attempt::NoMatch: break;
            case Attempt::NoMoreMatches:
                // The engine would go on to try every later line that starts
                // with digits and a colon, each time to the end of the text;
                // when there is such a line, its verdict decides.
                return laterEntryLine(text, at) ? readEntriesWithPattern(text) : list;
            case Attempt::Backtracks: return readEntriesWithPattern(text);
            }
        }
        // On to the next line start.
        std::size_t next = at;
        while (next < text.size() && !isSeparator(text[next])) ++next;
        if (next >= text.size()) break;
        at = next + 1;
    }
    return list;
}

EntryList readEntriesWithPattern(std::string_view text) {
    EntryList list;
    const MatchList matches = Pattern(comparison::kEntryPairPattern).searchAll(text);
    list.gaveUp = matches.gaveUp;
    list.entries.reserve(matches.size());
    for (std::size_t i = 0; i < matches.size(); ++i) {
        EntryMatch m;
        m.begin = matches.span(i, 0).begin;
        m.end = m.begin + matches.span(i, 0).length;
        m.numberEnd = matches.span(i, 1).begin + matches.span(i, 1).length;
        m.originalPrefixEnd = matches.span(i, 3).begin + matches.span(i, 3).length;
        m.originalEnd = matches.span(i, 2).begin + matches.span(i, 2).length;
        m.translationBegin = matches.span(i, 6).begin;
        m.translationPrefixEnd = matches.span(i, 7).begin + matches.span(i, 7).length;
        list.entries.push_back(m);
    }
    return list;
}

} // namespace kestrin
