#pragma once

// Finds the entries of a comparison file for the write-back: each original
// line (digits, a colon, text) together with the next non-empty line, its
// translation. The result is the one of repeated searches with the entry pair
// pattern (comparison/comparison_format.h); a direct scan finds it in one
// linear pass.

#include <cstddef>
#include <string_view>
#include <vector>

namespace kestrin {

// Byte indexes into the comparison text of one entry and its parts.
struct EntryMatch {
    std::size_t begin = 0;                 // the entry number's first digit
    std::size_t numberEnd = 0;             // the colon after the number
    std::size_t originalPrefixEnd = 0;     // end of the original's leading digits-and-colon run
    std::size_t originalEnd = 0;           // the CR LF that ends the original line
    std::size_t translationBegin = 0;      // after the line breaks
    std::size_t translationPrefixEnd = 0;  // end of the translation's leading run
    std::size_t end = 0;                   // end of the translation line

    std::string_view number(std::string_view text) const { return text.substr(begin, numberEnd - begin); }
    std::string_view original(std::string_view text) const {
        return text.substr(numberEnd + 1, originalEnd - numberEnd - 1);
    }
    std::string_view originalPrefix(std::string_view text) const {
        return text.substr(numberEnd + 1, originalPrefixEnd - numberEnd - 1);
    }
    std::string_view translation(std::string_view text) const {
        return text.substr(translationBegin, end - translationBegin);
    }
    std::string_view translationPrefix(std::string_view text) const {
        return text.substr(translationBegin, translationPrefixEnd - translationBegin);
    }
    std::string_view whole(std::string_view text) const { return text.substr(begin, end - begin); }
};

struct EntryList {
    std::vector<EntryMatch> entries;
    bool gaveUp = false; // the pattern engine hit its complexity bound
};

// The entries in file order. Text on which a search would backtrack heavily is
// handed to the pattern engine itself, so that its verdict (gaveUp) stands.
EntryList readEntries(std::string_view text);

// The same through the pattern engine alone; the reference for readEntries.
EntryList readEntriesWithPattern(std::string_view text);

} // namespace kestrin
