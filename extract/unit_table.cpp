#include "extract/unit_table.h"

#include "extract/char_classes.h"

#include <mutex>

namespace kestrin {

namespace {

UnitTable buildTable(int doubleByteClass) {
    ExtractionSettings settings;
    settings.textClassMode = TextClassMode::Mixed;
    settings.doubleByteClass = static_cast<std::uint8_t>(doubleByteClass);
    UnitTable table{};
    for (unsigned unit = 0; unit < 65536; ++unit) {
        const char bytes[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        const std::string_view u(bytes, 2);
        if (isPrintableUnit(u)) {
            table[unit] = static_cast<std::uint16_t>(unit);
            continue;
        }
        const std::string ansi = convertUnitToDoubleByte(u, settings);
        if (ansi.size() == 2)
            table[unit] = static_cast<std::uint16_t>((static_cast<unsigned char>(ansi[0]) << 8) |
                                                     static_cast<unsigned char>(ansi[1]));
    }
    return table;
}

} // namespace

const UnitTable& mixedUnitTable(int doubleByteClass) {
    static UnitTable tables[4];
    static std::once_flag built[4];
    const int index = doubleByteClass >= 0 && doubleByteClass <= 3 ? doubleByteClass : 0;
    std::call_once(built[index], [index] { tables[index] = buildTable(index); });
    return tables[index];
}

} // namespace kestrin
