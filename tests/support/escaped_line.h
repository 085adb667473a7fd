#pragma once

// The text line of a comparison entry for some ANSI bytes, written out
// independently of the product's escaper so that tests can check it:
// backslash, TAB, LF and CR escaped; the trail byte of a double-byte
// character (a backslash among them) left as it is.

#include <string>
#include <string_view>

namespace kestrin::test {

inline std::string escapedLine(std::string_view ansi) {
    std::string out;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto c = static_cast<unsigned char>(ansi[i]);
        if (c >= 0x81 && i + 1 < ansi.size()) {
            out += ansi.substr(i++, 2);
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace kestrin::test
