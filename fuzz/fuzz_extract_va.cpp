// The two address-based extraction modes on arbitrary file bytes (PE layouts
// included: the sample programs seed the corpus). The last byte of the input
// also picks the class boxes, minimum length and filters.

#include "fuzz/extraction_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::uint8_t options = size == 0 ? 0 : data[size - 1];
    kestrin::fuzz::clearRunFolder();
    kestrin::fuzz::checkedExtraction(image, kestrin::ExtractionMode::AsciiVa, options);
    kestrin::fuzz::checkedExtraction(image, kestrin::ExtractionMode::Utf16Va, options);
    return 0;
}
