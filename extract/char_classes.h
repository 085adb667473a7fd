#pragma once

// Which byte ranges count as text of the chosen character classes, and the
// ANSI (code page 936) bytes of a candidate. An empty result means "not a
// string". A 0x5C (backslash) trail byte of a double-byte character is
// carried as the marker 0x08 so that escaping leaves it single; no accepted
// text holds a genuine 0x08, which is not printable.

#include "extract/extraction_settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

inline constexpr char kTrailBackslashMarker = 0x08;

// TAB, LF, CR and 0x20 to 0x7E.
constexpr bool isPrintableByte(unsigned char b) {
    return b == 0x09 || b == 0x0A || b == 0x0D || (b >= 0x20 && b <= 0x7E);
}

// The 256-entry form of isPrintableByte.
const std::array<bool, 256>& printableByteTable();

// True when the pair is a character of the double-byte class (0 none, 1
// GB2312 extended, 2 GBK, 3 BIG5).
constexpr bool isValidDoubleByte(unsigned char lead, unsigned char trail, int doubleByteClass) {
    switch (doubleByteClass) {
    case 1:
        if (trail == 0x7F) return false;
        if (lead == 0xD7 && trail >= 0xFA && trail <= 0xFE) return false;
        if (trail < 0xA1 || trail > 0xFE) return false;
        return (lead >= 0xA1 && lead <= 0xA3) || lead == 0xA6 || (lead >= 0xB0 && lead <= 0xF7);
    case 2:
        if (trail == 0x7F) return false;
        return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE;
    case 3:
        return lead >= 0xA0 && lead <= 0xFE && ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE));
    default:
        return false;
    }
}

// The candidate's bytes when it is text of the classes (backslash trail bytes
// marked), else empty. AsciiOnly: every byte printable. Mixed: printable bytes
// and class-valid double-byte characters; a lead byte at the end refuses.
std::string validateAnsiCandidate(std::string_view candidate, const ExtractionSettings& settings);

// One UTF-16LE code unit (two bytes): high byte 0 and a printable low byte.
bool isPrintableUnit(std::string_view unit);

// One UTF-16LE code unit (two bytes) as the two code page 936 bytes of a
// class-valid character (trail backslash marked), else empty.
std::string convertUnitToDoubleByte(std::string_view unit, const ExtractionSettings& settings);

// A UTF-16LE candidate (whole code units) as ANSI bytes, else empty. An odd
// length or no units give empty.
std::string convertUtf16Candidate(std::string_view candidate, const ExtractionSettings& settings);

// True when every byte is printable (also for no bytes).
bool isAllPrintable(std::string_view bytes);

// True for text without two adjacent letters and without bytes above 0x80.
bool isJunkText(std::string_view bytes);

} // namespace kestrin
