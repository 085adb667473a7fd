#include "extract/entry_emission.h"

#include "core/byte_text.h"
#include "extract/char_classes.h"

#include <array>
#include <cstring>

namespace kestrin {

namespace {

// Escapes in one pass; the same result as the replace-all passes in their
// order (backslash doubled first, so the backslashes added later stay single).
// Bytes that the escaping replaces: backslash, TAB, LF, CR, the marker, and
// (only with escapeQuotes) the double quote.
constexpr std::array<bool, 256> specialBytes(bool quotes) {
    std::array<bool, 256> t{};
    t['\\'] = t['\t'] = t['\n'] = t['\r'] = t[static_cast<unsigned char>(kTrailBackslashMarker)] = true;
    t['"'] = quotes;
    return t;
}
constexpr std::array<bool, 256> kSpecial = specialBytes(false);
constexpr std::array<bool, 256> kSpecialWithQuotes = specialBytes(true);

// Escapes in one pass; the same result as the replace-all passes in their
// order (backslash doubled first, so the backslashes added later stay single).
// Stretches without special bytes are copied whole.
void appendEscaped(std::string& out, std::string_view bytes, bool escapeQuotes) {
    const auto& special = escapeQuotes ? kSpecialWithQuotes : kSpecial;
    const std::size_t n = bytes.size();
    std::size_t done = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (!special[static_cast<unsigned char>(c)]) continue;
        out.append(bytes.data() + done, i - done);
        done = i + 1;
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case kTrailBackslashMarker: out.push_back('\\'); break;
        default: out += "\\\""; break; // the double quote
        }
    }
    out.append(bytes.data() + done, n - done);
}

bool passesFilters(std::string_view candidate, const ExtractionSettings& settings) {
    if (settings.requireDoubleByte) return !isAllPrintable(candidate);
    if (settings.junkFilter) return !isJunkText(candidate);
    return true;
}

void appendEntryLines(std::string& out, std::string_view offsetText, std::string_view escaped) {
    out += "\r\n";
    out += offsetText;
    out.push_back(':');
    out += escaped;
    out += "\r\n";
    out += escaped;
    out += "\r\n";
}

} // namespace

std::string escapeCandidate(std::string_view bytes, const ExtractionSettings& settings) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8 + 8);
    appendEscaped(out, bytes, settings.escapeQuotes);
    return out;
}

std::string makeEntry(std::string_view offsetText, std::string& candidate, const ExtractionSettings& settings) {
    const auto length = static_cast<std::int64_t>(candidate.size());
    if (!passesFilters(candidate, settings)) return {};
    candidate = escapeCandidate(candidate, settings);
    if (length < settings.minLength) return {};
    std::string entry;
    entry.reserve(offsetText.size() + 2 * candidate.size() + 8);
    appendEntryLines(entry, offsetText, candidate);
    return entry;
}

bool appendEntry(std::string& out, std::int64_t offset, std::string_view candidate, const ExtractionSettings& settings) {
    if (static_cast<std::int64_t>(candidate.size()) < settings.minLength) return false;
    if (!passesFilters(candidate, settings)) return false;
    char digits[24];
    int n = 0;
    auto value = static_cast<std::uint64_t>(offset);
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out += "\r\n";
    while (n > 0) out.push_back(digits[--n]);
    out.push_back(':');
    const std::size_t textStart = out.size();
    appendEscaped(out, candidate, settings.escapeQuotes);
    const std::size_t textEnd = out.size();
    const std::size_t length = textEnd - textStart;
    out.resize(textEnd + length + 4);
    char* data = out.data();
    data[textEnd] = '\r';
    data[textEnd + 1] = '\n';
    std::memcpy(data + textEnd + 2, data + textStart, length);
    data[textEnd + 2 + length] = '\r';
    data[textEnd + 3 + length] = '\n';
    return true;
}

} // namespace kestrin
