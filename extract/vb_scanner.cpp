#include "extract/vb_scanner.h"

#include "extract/byte_search.h"
#include "extract/char_classes.h"
#include "extract/extraction_messages.h"

#include <string>

namespace kestrin {

std::vector<StringCandidate> findVbCandidates(std::string_view image, const ExtractionSettings& settings) {
    using byte_search::npos;
    std::vector<StringCandidate> found;
    const auto* d = reinterpret_cast<const unsigned char*>(image.data());
    const std::size_t size = image.size();
    const bool plain = settings.textClassMode == TextClassMode::AsciiOnly;
    const auto byteAt = [&](std::size_t i) -> unsigned { return i < size ? d[i] : 0u; };

    // Each search for the next zero pair starts at the text position of the
    // one before, which is also where the terminator test looks for the
    // text's first zero pair: one search serves both.
    std::size_t pair = byte_search::findZeroPair(image, 0);
    while (pair != npos) {
        const std::size_t m = pair;
        // Three zeros: a one-byte length before them; else a two-byte length.
        const bool threeZeros = m + 2 < size && d[m + 2] == 0;
        const std::size_t text = m + (threeZeros ? 3 : 2);
        unsigned length = 0;
        if (threeZeros || m == 1) {
            length = m >= 1 ? d[m - 1] : 0;
        } else if (m >= 2) {
            length = d[m - 2] | (d[m - 1] << 8);
        }
        pair = byte_search::findZeroPair(image, text);
        if (m == 0) continue;  // no length field before the file's first byte
        const bool firstUnitEmpty = plain ? byteAt(text) == 0 : (byteAt(text) == 0 && byteAt(text + 1) == 0);
        if (firstUnitEmpty || length % 2 != 0) continue;
        const std::size_t end = text + length;
        if (end + 1 >= size || d[end] != 0 || d[end + 1] != 0) continue;
        // The terminator must be the text's first zero pair, or follow a last
        // character whose high byte is 0x00.
        if (pair == end || (pair + 1 == end && pair >= text))
            found.push_back({static_cast<std::int64_t>(text), static_cast<std::int32_t>(length)});
    }
    return found;
}

void searchVbStrings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                     Reporter& reporter) {
    const std::vector<StringCandidate> candidates = findVbCandidates(image, settings);
    reporter.setMaximum(static_cast<std::int64_t>(candidates.size()));
    for (const StringCandidate& c : candidates) {
        std::string text = convertUtf16Candidate(
            image.substr(static_cast<std::size_t>(c.textOffset), static_cast<std::size_t>(c.length)), settings);
        if (!text.empty()) entries.offer(c.textOffset, text);
        reporter.advance(1);
    }
}

JobStatus scanVbStrings(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        const ExtractionSettings& settings, Reporter& reporter) {
    return runScanFrame(programPath, outputPath, settings, reporter, {kVbDoneHead, false},
                        searchVbStrings);
}

} // namespace kestrin
