#include "core/byte_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kestrin {

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool equalAt(std::string_view text, std::size_t at, std::string_view part, bool ignoreCase) {
    if (at + part.size() > text.size()) return false;
    if (!ignoreCase) return std::memcmp(text.data() + at, part.data(), part.size()) == 0;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(text[at + i])) !=
            foldAscii(static_cast<unsigned char>(part[i])))
            return false;
    }
    return true;
}

// 0-based index of the first occurrence at a character start at or after
// `from`, or npos.
std::size_t findCharacterAligned(std::string_view text, std::string_view part, std::size_t from,
                                 bool ignoreCase) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (i >= from && equalAt(text, i, part, ignoreCase)) return i;
        i += characterWidth(static_cast<unsigned char>(text[i]));
    }
    return std::string_view::npos;
}

} // namespace

std::string_view textOf(std::string_view bytes) {
    const auto zero = bytes.find('\0');
    return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

std::string_view textLeft(std::string_view text, std::int64_t n) {
    n = std::clamp<std::int64_t>(n, 0, static_cast<std::int64_t>(text.size()));
    return text.substr(0, static_cast<std::size_t>(n));
}

std::string_view textRight(std::string_view text, std::int64_t n) {
    n = std::clamp<std::int64_t>(n, 0, static_cast<std::int64_t>(text.size()));
    return text.substr(text.size() - static_cast<std::size_t>(n));
}

std::int64_t findText(std::string_view text, std::string_view part, std::int64_t start, bool ignoreCase) {
    if (text.empty()) return -1;
    if (part.empty()) return 1;
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return -1;
    const auto at = findCharacterAligned(text, part, from, ignoreCase);
    return at == std::string_view::npos ? -1 : static_cast<std::int64_t>(at) + 1;
}

std::int64_t findTextReverse(std::string_view text, std::string_view part, std::int64_t limit,
                             bool ignoreCase) {
    if (text.empty() || part.empty()) return -1;
    // With a limit, the occurrence must end before byte position `limit`.
    std::size_t endBound = text.size();
    if (limit > 0) endBound = std::min<std::size_t>(text.size(), static_cast<std::size_t>(limit - 1));
    std::int64_t found = -1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + part.size() <= endBound && equalAt(text, i, part, ignoreCase))
            found = static_cast<std::int64_t>(i) + 1;
        if (i + part.size() > endBound) break;
        i += characterWidth(static_cast<unsigned char>(text[i]));
    }
    return found;
}

std::string replaceText(std::string_view text, std::string_view part, std::string_view replacement,
                        std::int64_t start, std::int64_t count, bool caseSensitive) {
    if (part.empty() || count == 0) return std::string(text);
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    std::size_t searchFrom = from;
    std::int64_t done = 0;
    while (count < 0 || done < count) {
        const auto at = findCharacterAligned(text, part, searchFrom, !caseSensitive);
        if (at == std::string_view::npos) break;
        out.append(text.substr(copied, at - copied));
        out.append(replacement);
        copied = at + part.size();
        searchFrom = copied;
        ++done;
    }
    out.append(text.substr(std::min(copied, text.size())));
    return out;
}

int compareText(std::string_view a, std::string_view b, bool caseSensitive) {
    if (caseSensitive) return a.compare(b) == 0 ? 0 : (a < b ? -1 : 1);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = foldAscii(static_cast<unsigned char>(a[i]));
        const auto cb = foldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

double textToNumber(std::string_view text) {
    text = textOf(text);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t begin = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digitsBegin = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == digitsBegin) return 0.0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expDigits = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
        if (j > expDigits) i = j;
    }
    const std::string number(text.substr(begin, i - begin));
    return std::strtod(number.c_str(), nullptr);
}

std::string numberToText(std::int64_t value) { return std::to_string(value); }

bool numbersEqual(double a, double b) { return std::fabs(a - b) <= 1e-7; }

std::int64_t replaceAllBytes(std::string& bytes, std::string_view from, std::string_view to,
                             std::size_t start, std::int64_t maxCount) {
    if (from.empty() || maxCount == 0 || start >= bytes.size()) return 0;
    std::string out;
    std::size_t copied = 0;
    std::size_t at = bytes.find(from, start);
    std::int64_t done = 0;
    if (at == std::string::npos) return 0;
    out.reserve(bytes.size() + (to.size() > from.size() ? bytes.size() / 8 : 0));
    while (at != std::string::npos && (maxCount < 0 || done < maxCount)) {
        out.append(bytes, copied, at - copied);
        out.append(to);
        copied = at + from.size();
        ++done;
        at = bytes.find(from, copied);
    }
    out.append(bytes, copied, std::string::npos);
    bytes.swap(out);
    return done;
}

std::uint8_t readUint8(std::string_view bytes, std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= bytes.size()) return 0;
    return static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(index)]);
}

std::uint16_t readUint16Le(std::string_view bytes, std::int64_t index) {
    return static_cast<std::uint16_t>(readUint8(bytes, index) | (readUint8(bytes, index + 1) << 8));
}

std::uint32_t readUint32Le(std::string_view bytes, std::int64_t index) {
    return static_cast<std::uint32_t>(readUint16Le(bytes, index)) |
           (static_cast<std::uint32_t>(readUint16Le(bytes, index + 2)) << 16);
}

void appendUint32Le(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace kestrin
