#include "writeback/entry_text.h"

#include "core/byte_text.h"
#include "core/code_page.h"

#include <cstring>

namespace kestrin {
namespace {

bool passedOver(unsigned char c) { return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0x7E); }
bool isLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool isTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE; }

// Replaces each 0x5C that is the trail byte of a double-byte character by the
// marker; returns how many were marked.
std::size_t markTrailBackslashes(std::string& bytes) {
    std::size_t marks = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (passedOver(c) || i + 1 == n) continue;
        const auto next = static_cast<unsigned char>(bytes[i + 1]);
        if (isLead(c) && isTrail(next)) {
            if (next == 0x5C) {
                bytes[i + 1] = kTrailBackslashMarker;
                ++marks;
            }
            ++i;
        }
    }
    return marks;
}

// One segment: the bytes before a run of backslashes, the run, and the bytes
// up to the next backslash or the end.
void decodeSegment(std::string segment, bool oddRun, std::string& out) {
    if (oddRun) {
        replaceAllBytes(segment, "\\t", "\t");
        replaceAllBytes(segment, "\\r", "\r");
        replaceAllBytes(segment, "\\n", "\n");
        replaceAllBytes(segment, "\\\"", "\"");
    }
    replaceAllBytes(segment, "\\\\", "\\");
    out += segment;
}

} // namespace

std::string decodeEntryText(std::string_view text) {
    if (findText(text, "\\") < 0) return std::string(text);

    std::string marked(text);
    const std::size_t marks = markTrailBackslashes(marked);

    std::string out;
    out.reserve(marked.size());
    const std::size_t n = marked.size();
    std::size_t pos = 0;
    while (pos < n) {
        const std::size_t start = pos;
        const std::size_t runStart = marked.find('\\', pos);
        if (runStart == std::string::npos) {
            // No backslash left (every one was a trail byte): the rest stays
            // as it is rather than being dropped.
            decodeSegment(marked.substr(start), false, out);
            break;
        }
        std::size_t runEnd = runStart;
        while (runEnd < n && marked[runEnd] == '\\') ++runEnd;
        std::size_t end = marked.find('\\', runEnd);
        if (end == std::string::npos) end = n;
        decodeSegment(marked.substr(start, end - start), (runEnd - runStart) % 2 == 1, out);
        pos = end;
    }

    if (marks > 0) {
        for (char& c : out) {
            if (c == kTrailBackslashMarker) c = '\\';
        }
    }
    return out;
}

std::string encodeUtf16(std::string_view text, bool withTerminator) {
    std::string bytes = utf16ToLeBytes(cp936ToUtf16(textOf(text)));
    if (withTerminator) bytes.append(2, '\0');
    return bytes;
}

std::string encodeUtf8(std::string_view text, bool withTerminator) {
    return utf16ToUtf8(std::string_view(encodeUtf16(text, true)), withTerminator);
}

std::string utf16ToUtf8(std::string_view utf16LeBytes, bool withTerminator) {
    std::string padded(utf16LeBytes);
    padded.append(2 + utf16LeBytes.size() % 2, '\0'); // a trailing half unit reads as high byte 0
    std::u16string units = leBytesToUtf16(padded);
    units.resize(units.find(u'\0'));
    std::string out = utf16ToUtf8(std::u16string_view(units));
    if (withTerminator) out.push_back('\0');
    return out;
}

} // namespace kestrin
