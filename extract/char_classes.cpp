#include "extract/char_classes.h"

#include "core/code_page.h"

#include <mutex>

namespace kestrin {

namespace {

// The code page 936 bytes of every code unit that converts to exactly two
// bytes (lead << 8 | trail), else 0. Converting a unit does not depend on the
// class, so one table serves every class; built once on first use.
const std::array<std::uint16_t, 65536>& doubleByteFormTable() {
    static std::array<std::uint16_t, 65536> table{};
    static std::once_flag built;
    std::call_once(built, [] {
        for (unsigned unit = 0; unit < 65536; ++unit) {
            const char16_t c = static_cast<char16_t>(unit);
            const std::string bytes = utf16ToCp936(std::u16string_view(&c, 1));
            if (bytes.size() == 2)
                table[unit] = static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                                         static_cast<unsigned char>(bytes[1]));
        }
    });
    return table;
}

unsigned unitValue(std::string_view unit) {
    return static_cast<unsigned char>(unit[0]) | static_cast<unsigned>(static_cast<unsigned char>(unit[1])) << 8;
}

// Appends the double-byte form of a unit when it is class-valid.
bool appendDoubleByte(std::string& out, unsigned unit, int doubleByteClass) {
    const std::uint16_t form = doubleByteFormTable()[unit];
    if (form == 0) return false;
    const auto lead = static_cast<unsigned char>(form >> 8);
    const auto trail = static_cast<unsigned char>(form & 0xFF);
    if (!isValidDoubleByte(lead, trail, doubleByteClass)) return false;
    out.push_back(static_cast<char>(lead));
    out.push_back(trail == 0x5C ? kTrailBackslashMarker : static_cast<char>(trail));
    return true;
}

} // namespace

const std::array<bool, 256>& printableByteTable() {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 256; ++b) t[b] = isPrintableByte(static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

std::string validateAnsiCandidate(std::string_view candidate, const ExtractionSettings& settings) {
    const auto& printable = printableByteTable();
    if (settings.textClassMode == TextClassMode::AsciiOnly) {
        for (const char c : candidate)
            if (!printable[static_cast<unsigned char>(c)]) return {};
        return std::string(candidate);
    }
    if (settings.textClassMode != TextClassMode::Mixed) return {};
    std::string result(candidate);
    const std::size_t n = result.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(result[i]);
        if (printable[b]) {
            ++i;
            continue;
        }
        if (b <= 0x80 || i + 1 == n) return {};
        const auto trail = static_cast<unsigned char>(result[i + 1]);
        if (!isValidDoubleByte(b, trail, settings.doubleByteClass)) return {};
        if (trail == 0x5C) result[i + 1] = kTrailBackslashMarker;
        i += 2;
    }
    return result;
}

bool isPrintableUnit(std::string_view unit) {
    return unit.size() == 2 && unit[1] == 0 && isPrintableByte(static_cast<unsigned char>(unit[0]));
}

std::string convertUnitToDoubleByte(std::string_view unit, const ExtractionSettings& settings) {
    std::string out;
    if (unit.size() != 2) return out;
    appendDoubleByte(out, unitValue(unit), settings.doubleByteClass);
    return out;
}

std::string convertUtf16Candidate(std::string_view candidate, const ExtractionSettings& settings) {
    const std::size_t n = candidate.size();
    if (n == 0 || n % 2 != 0) return {};
    const bool mixed = settings.textClassMode == TextClassMode::Mixed;
    if (!mixed && settings.textClassMode != TextClassMode::AsciiOnly) return {};
    const auto& printable = printableByteTable();
    std::string out;
    out.reserve(mixed ? n : n / 2);
    for (std::size_t i = 0; i < n; i += 2) {
        const auto low = static_cast<unsigned char>(candidate[i]);
        const auto high = static_cast<unsigned char>(candidate[i + 1]);
        if (high == 0 && printable[low]) {
            out.push_back(static_cast<char>(low));
            continue;
        }
        if (!mixed || !appendDoubleByte(out, low | static_cast<unsigned>(high) << 8, settings.doubleByteClass))
            return {};
    }
    return out;
}

bool isAllPrintable(std::string_view bytes) {
    const auto& printable = printableByteTable();
    for (const char c : bytes)
        if (!printable[static_cast<unsigned char>(c)]) return false;
    return true;
}

bool isJunkText(std::string_view bytes) {
    std::size_t lastLetter = static_cast<std::size_t>(-1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b > 0x80) return false;
        const bool letter = (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A);
        if (!letter) continue;
        if (lastLetter != static_cast<std::size_t>(-1) && lastLetter + 1 == i) return false;
        lastLetter = i;
    }
    return true;
}

} // namespace kestrin
