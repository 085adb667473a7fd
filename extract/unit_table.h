#pragma once

// The ANSI form of every UTF-16 code unit, looked up instead of converted,
// for the scanners that test a unit at nearly every byte position.

#include <array>
#include <cstdint>

namespace kestrin {

// One entry per code unit (the unit's value, not its bytes):
//   0                 the unit is not accepted;
//   0x01 to 0x7F      a printable unit: its low byte;
//   0x8100 and up     a character of the double-byte class: lead << 8 | trail,
//                     a 0x5C trail byte already carried as the marker 0x08.
using UnitTable = std::array<std::uint16_t, 65536>;

// The table for mixed text under a double-byte class (0 to 3). Built once per
// class from the character-class routines, then shared read-only.
const UnitTable& mixedUnitTable(int doubleByteClass);

// Appends the ANSI form of a table code (one or two bytes).
template <typename Out>
inline void appendUnitCode(Out& out, std::uint16_t code) {
    if (code < 0x100) {
        out.push_back(static_cast<char>(code));
    } else {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
}

} // namespace kestrin
