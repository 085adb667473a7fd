#include "comparison/ini_path.h"

#include <string>

namespace kestrin {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::filesystem::path iniPathFor(const std::filesystem::path& comparisonPath) {
    // The native form is UTF-8. The search window is the last five characters:
    // step back over five character starts, so that a multi-byte character
    // counts once. ".txt" is ASCII and ASCII bytes never occur inside a
    // multi-byte character, so a byte search inside the window is exact.
    std::string text = comparisonPath.native();
    std::size_t start = text.size();
    for (int characters = 0; characters < 5 && start > 0;) {
        --start;
        if (!isContinuationByte(text[start])) ++characters;
    }
    static constexpr char kFrom[] = ".txt";
    for (std::size_t i = start; i + 4 <= text.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < 4 && same; ++k) same = lowerAscii(text[i + k]) == kFrom[k];
        if (same) {
            text.replace(i, 4, ".ini");
            break;
        }
    }
    return std::filesystem::path(text);
}

} // namespace kestrin
