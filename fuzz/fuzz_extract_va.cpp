// The two address-based extraction modes on arbitrary file bytes (PE layouts
// included: the sample programs seed the corpus). The last byte of the input
// also picks the class boxes, minimum length and filters.

#include "extract/pe_layout.h"
#include "fuzz/extraction_fuzzing.h"

#include <algorithm>

namespace {

// The range lookup of a long section table maps every address as the table
// walk does: the values of the image's first bytes, read as addresses.
void checkAddressMapping(std::string_view image) {
    using namespace kestrin;
    if (!isPeFile(image)) return;
    const PeLayout layout = readPeLayout(image);
    VaMap map(layout);
    // The walk is the slow side: fewer addresses for a longer table.
    const std::size_t addresses = std::max<std::size_t>(16, 1000000 / (layout.sections.size() + 1));
    for (std::size_t at = 0; at + 4 <= image.size() && at < addresses; ++at) {
        const auto v = static_cast<std::int32_t>(peRead32(image, static_cast<std::int64_t>(at)));
        std::int32_t walked = 0;
        std::int32_t looked = 0;
        const bool walkMaps = vaToFileOffset(layout, v, walked);
        if (map.toFileOffset(v, looked) != walkMaps || (walkMaps && looked != walked))
            fuzz::fail("the address lookup differs from the table walk at " + std::to_string(v));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::uint8_t options = size == 0 ? 0 : data[size - 1];
    kestrin::fuzz::clearRunFolder();
    kestrin::fuzz::checkedExtraction(image, kestrin::ExtractionMode::AsciiVa, options);
    kestrin::fuzz::checkedExtraction(image, kestrin::ExtractionMode::Utf16Va, options);
    checkAddressMapping(image);
    return 0;
}
