// The six whole-file extraction modes on arbitrary file bytes. The last byte
// of the input also picks the class boxes, minimum length and filters. The
// searches that read the file in blocks must also give what the searches of
// the whole image give, with blocks small enough to split every string.

#include "extract/byte_sources.h"
#include "extract/utf16_scanner.h"
#include "extract/utf8_scanner.h"
#include "fuzz/extraction_fuzzing.h"

namespace {

void checkStreamedSearches(std::string_view image, std::uint8_t options) {
    using namespace kestrin;
    const auto program = fuzz::runFolder() / "streamed.bin";
    fuzz::putFile(program, image);
    bool anyBoxOn = false;
    const ExtractionSettings settings = fuzz::settingsFromByte(options, anyBoxOn);
    const std::size_t block = 1 + options % 13;
    const auto compare = [&](auto imageSearch, auto streamedSearch, const char* name) {
        fuzz::CountingReporter wholeReporter;
        EntryBuffer whole(settings);
        imageSearch(image, settings, whole, wholeReporter);
        auto file = StreamedFile::open(program, block);
        if (!file) fuzz::fail("the streamed file cannot be opened");
        fuzz::CountingReporter streamedReporter;
        EntryBuffer streamed(settings);
        streamedSearch(*file, settings, streamed, streamedReporter);
        if (!file->intact() || streamed.bytes() != whole.bytes())
            fuzz::fail(std::string(name) + ": the streamed search differs, block " + std::to_string(block));
    };
    compare(searchUtf16Strings, streamUtf16Strings, "UTF-16");
    compare(searchUtf8Strings, streamUtf8Strings, "UTF-8");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kestrin::ExtractionMode;
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::uint8_t options = size == 0 ? 0 : data[size - 1];
    kestrin::fuzz::clearRunFolder();
    for (const auto mode : {ExtractionMode::AsciiWhole, ExtractionMode::Utf16Whole, ExtractionMode::DelphiAscii,
                            ExtractionMode::DelphiUtf16, ExtractionMode::VbUtf16, ExtractionMode::Utf8Whole})
        kestrin::fuzz::checkedExtraction(image, mode, options);
    checkStreamedSearches(image, options);
    return 0;
}
