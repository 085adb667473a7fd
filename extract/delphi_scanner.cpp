#include "extract/delphi_scanner.h"

#include "core/byte_text.h"
#include "extract/char_classes.h"
#include "extract/extraction_messages.h"
#include "extract/byte_search.h"

#include <string>

namespace kestrin {

namespace {

std::int32_t lengthField(std::string_view image, std::size_t at) {
    return static_cast<std::int32_t>(readUint32Le(image, static_cast<std::int64_t>(at)));
}

} // namespace

std::vector<StringCandidate> findDelphiAsciiCandidates(std::string_view image) {
    using byte_search::npos;
    std::vector<StringCandidate> found;
    // The first zero at or after the text position; text positions only grow,
    // so a zero found for one header serves the following ones until passed.
    std::size_t zero = 0;
    bool zeroKnown = false;
    for (std::size_t p = 0;;) {
        const std::size_t h = byte_search::findFourFF(image, p);
        if (h == npos) break;
        const std::int32_t length = lengthField(image, h + 4);
        const std::size_t text = h + 8;
        p = h + 4;  // a next marker may overlap the length field just read
        if (!zeroKnown || zero < text) {
            zero = byte_search::findZero(image, text);
            zeroKnown = true;
        }
        if (zero == npos) break;
        if (static_cast<std::int64_t>(zero) == static_cast<std::int64_t>(text) + length)
            found.push_back({static_cast<std::int64_t>(text), length});
    }
    return found;
}

std::vector<StringCandidate> findDelphiUtf16Candidates(std::string_view image) {
    using byte_search::npos;
    std::vector<StringCandidate> found;
    const auto* d = reinterpret_cast<const unsigned char*>(image.data());
    const std::int64_t size = static_cast<std::int64_t>(image.size());
    std::size_t pair = 0;  // first zero pair at or after the text position (kept while ahead)
    bool pairKnown = false;
    for (std::size_t p = 0;;) {
        const std::size_t h = byte_search::findFourFF(image, p);
        if (h == npos) break;
        const std::int32_t length = lengthField(image, h + 4);
        const std::size_t text = h + 8;
        p = text;
        if (length < 0) continue;
        const std::int64_t end = static_cast<std::int64_t>(text) + 2 * static_cast<std::int64_t>(length);
        if (end + 1 >= size || d[end] != 0 || d[end + 1] != 0) continue;
        if (!pairKnown || pair < text) {
            pair = byte_search::findZeroPair(image, text);
            pairKnown = true;
        }
        // The terminator must be the first zero pair of the text, or follow a
        // last character whose high byte is 0x00.
        const auto first = static_cast<std::int64_t>(pair);
        if (pair != npos && (first == end || (first == end - 1 && end - 1 >= static_cast<std::int64_t>(text))))
            found.push_back({static_cast<std::int64_t>(text), length});
    }
    return found;
}

void searchDelphiAscii(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter) {
    const std::vector<StringCandidate> candidates = findDelphiAsciiCandidates(image);
    reporter.setMaximum(static_cast<std::int64_t>(candidates.size()));
    for (const StringCandidate& c : candidates) {
        std::string text = validateAnsiCandidate(
            image.substr(static_cast<std::size_t>(c.textOffset), static_cast<std::size_t>(c.length)), settings);
        if (!text.empty()) entries.offer(c.textOffset, text);
        reporter.advance(1);
    }
}

void searchDelphiUtf16(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter) {
    const std::vector<StringCandidate> candidates = findDelphiUtf16Candidates(image);
    reporter.setMaximum(static_cast<std::int64_t>(candidates.size()));
    for (const StringCandidate& c : candidates) {
        std::string text = convertUtf16Candidate(
            image.substr(static_cast<std::size_t>(c.textOffset), 2 * static_cast<std::size_t>(c.length)), settings);
        if (!text.empty()) entries.offer(c.textOffset, text);
        reporter.advance(1);
    }
}

JobStatus scanDelphiAscii(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                          const ExtractionSettings& settings, Reporter& reporter) {
    return runScanFrame(programPath, outputPath, settings, reporter, {kDelphiAsciiDoneHead, false},
                        searchDelphiAscii);
}

JobStatus scanDelphiUtf16(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                          const ExtractionSettings& settings, Reporter& reporter) {
    return runScanFrame(programPath, outputPath, settings, reporter,
                        {kDelphiUtf16DoneHead, false}, searchDelphiUtf16);
}

} // namespace kestrin
