// The six whole-file extraction modes on arbitrary file bytes. The last byte
// of the input also picks the class boxes, minimum length and filters.

#include "fuzz/extraction_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kestrin::ExtractionMode;
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::uint8_t options = size == 0 ? 0 : data[size - 1];
    kestrin::fuzz::clearRunFolder();
    for (const auto mode : {ExtractionMode::AsciiWhole, ExtractionMode::Utf16Whole, ExtractionMode::DelphiAscii,
                            ExtractionMode::DelphiUtf16, ExtractionMode::VbUtf16, ExtractionMode::Utf8Whole})
        kestrin::fuzz::checkedExtraction(image, mode, options);
    return 0;
}
