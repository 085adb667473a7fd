#pragma once

// Properties every comparison file written by extraction must have, whatever
// the program file held: entries of exactly three lines (an empty line, the
// offset with a colon and the text, the translation line), each ended by
// CR LF, no raw CR, LF, TAB or zero byte inside a line, offsets in strictly
// ascending order, and a translation line that copies the original text.
// Shared by the fuzz targets and the regression tests.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// An empty text when the comparison text has the properties, else the first
// one that fails, with its byte index.
inline std::string checkExtractedComparison(std::string_view text) {
    const auto bad = [](std::string_view line) {
        return line.find_first_of(std::string_view("\r\n\t\0", 4)) != std::string_view::npos;
    };
    std::size_t at = 0;
    std::int64_t previous = -1;
    const auto where = [&] { return " at byte " + std::to_string(at); };
    while (at < text.size()) {
        if (text.substr(at, 2) != "\r\n") return "entry does not begin with an empty line" + where();
        at += 2;
        const auto originalEnd = text.find("\r\n", at);
        if (originalEnd == std::string_view::npos) return "original line without CR LF" + where();
        const auto original = text.substr(at, originalEnd - at);
        std::size_t digits = 0;
        while (digits < original.size() && original[digits] >= '0' && original[digits] <= '9') ++digits;
        if (digits == 0 || digits > 18 || digits >= original.size() || original[digits] != ':')
            return "original line does not begin with an offset and a colon" + where();
        if (digits > 1 && original[0] == '0') return "offset with a leading zero" + where();
        const std::int64_t offset = std::stoll(std::string(original.substr(0, digits)));
        if (offset <= previous) return "offsets not in ascending order" + where();
        previous = offset;
        const auto escaped = original.substr(digits + 1);
        if (escaped.empty()) return "empty text" + where();
        if (bad(escaped)) return "raw CR, LF, TAB or zero byte in the original line" + where();
        at = originalEnd + 2;
        const auto translationEnd = text.find("\r\n", at);
        if (translationEnd == std::string_view::npos) return "translation line without CR LF" + where();
        const auto translation = text.substr(at, translationEnd - at);
        if (translation != escaped) return "translation line differs from the original text" + where();
        at = translationEnd + 2;
    }
    return {};
}

} // namespace kestrin
