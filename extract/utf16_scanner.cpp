#include "extract/utf16_scanner.h"

#include "extract/char_classes.h"
#include "extract/extraction_messages.h"
#include "extract/unit_table.h"
#include "extract/byte_search.h"
#include "extract/byte_sources.h"

#include <array>

namespace kestrin {

namespace {

using PrintableTable = std::array<bool, 256>;

const PrintableTable& printableTable() { return printableByteTable(); }

// The bounds [begin, end) of a trailing run within a piece; empty when begin == end.
struct RunBounds {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Plain text. The unit walk visits every non-zero byte of the piece (it only
// ever steps over the 0x00 of a unit it took), so a printable byte followed
// by 0x00 is always taken as a unit. The run ending at the piece's end is
// therefore the longest stretch of such units read backwards from the end.
RunBounds plainRun(const unsigned char* b, std::size_t n, const PrintableTable& printable) {
    std::size_t k = n;
    while (k >= 2 && b[k - 1] == 0 && printable[b[k - 2]]) k -= 2;
    return {k, n};
}

// Mixed text: walk the units from the first byte; a refused unit restarts the
// run one byte later. A single 0x00 left over after whole units is dropped.
//
// The walk steps by one or two bytes, so it lands on j or on j + 1 for any
// two neighbouring places; when the units at both would be refused, it is at
// j + 2 afterwards with a fresh run whatever came before. The walk therefore
// starts after the last such pair of places, found backwards from the end,
// and only the piece's tail is walked.
RunBounds mixedRun(const unsigned char* b, std::size_t n, const UnitTable& table) {
    const auto taken = [&](std::size_t k) { return table[b[k] | (b[k + 1] << 8)] != 0; };
    std::size_t i = 0;
    if (n >= 3) {
        std::size_t j = n - 3;  // the unit at j + 1 is the last whole unit of the piece
        bool nextTaken = taken(n - 2);
        for (;;) {
            const bool hereTaken = taken(j);
            if (!hereTaken && !nextTaken) {
                i = j + 2;
                break;
            }
            if (j == 0) break;
            nextTaken = hereTaken;
            --j;
        }
    }
    std::size_t begin = i;
    while (i + 1 < n) {
        const std::size_t taken = table[b[i] | (b[i + 1] << 8)] != 0;
        i += 1 + taken;
        begin = taken ? begin : i;
    }
    if (i < n) {  // one byte left over
        if (b[i] != 0) return {};
        n = i;
    }
    return {begin, n};
}

RunBounds trailingRun(const unsigned char* b, std::size_t n, const ExtractionSettings& settings) {
    if (settings.textClassMode == TextClassMode::AsciiOnly) return plainRun(b, n, printableTable());
    if (settings.textClassMode == TextClassMode::Mixed) return mixedRun(b, n, mixedUnitTable(settings.doubleByteClass));
    return {};
}

// The ANSI bytes of a run: the low byte of each plain unit, or the table's
// form of each mixed unit.
void appendRunText(std::string& out, const unsigned char* b, RunBounds run, const ExtractionSettings& settings) {
    if (settings.textClassMode == TextClassMode::AsciiOnly) {
        for (std::size_t k = run.begin; k < run.end; k += 2) out.push_back(static_cast<char>(b[k]));
        return;
    }
    const UnitTable& table = mixedUnitTable(settings.doubleByteClass);
    for (std::size_t k = run.begin; k < run.end; k += 2) appendUnitCode(out, table[b[k] | (b[k + 1] << 8)]);
}

} // namespace

std::string extractUtf16TrailingRun(std::string_view piece, std::int64_t& start, const ExtractionSettings& settings) {
    const auto* b = reinterpret_cast<const unsigned char*>(piece.data());
    const RunBounds run = trailingRun(b, piece.size(), settings);
    std::string text;
    if (run.begin == run.end) return text;
    appendRunText(text, b, run, settings);
    start += static_cast<std::int64_t>(run.begin);
    return text;
}

namespace {

// The search over either source: the scan names the earliest byte it may
// still need (the start of the piece it is in) before each step.
template <class Bytes>
void searchUtf16In(Bytes& bytes, const ExtractionSettings& settings, EntryBuffer& entries, Reporter& reporter) {
    using byte_search::npos;
    const std::size_t size = bytes.size();
    BlockProgress progress(reporter, size);
    if (size == 0) return;
    const bool plain = settings.textClassMode == TextClassMode::AsciiOnly;
    // A run of r bytes gives at most r ANSI bytes (r / 2 in plain text); runs
    // that cannot reach the minimum length are not converted.
    const std::int64_t minLength = settings.minLength;
    std::string candidate;

    std::size_t p = 0;
    for (;;) {
        if (!skipZeros(bytes, p)) return;
        std::size_t start = p;
        std::size_t pairFrom = p;
        if (plain) {
            // The string begins with the byte before the first zero: its first
            // unit is a non-zero byte followed by 0x00.
            const std::size_t z = bytes.findZero(p);
            if (z == npos || z + 1 == size) break;
            if (!bytes.ensure(z + 2)) return;
            if (*bytes.at(z + 1) == 0) {
                p = z;
                continue;
            }
            start = z - 1;
            pairFrom = z;
        }
        const std::size_t t = bytes.findZeroPair(pairFrom);
        if (t == npos) break;
        // When the last character's high byte is 0x00 the pair found is that
        // byte and the first terminator byte; the next zero keeps it whole.
        if (!bytes.ensure(t + 3)) return;
        const std::size_t n = t - start + (t + 2 < size && *bytes.at(t + 2) == 0 ? 1 : 0);

        const unsigned char* piece = bytes.at(start);
        const RunBounds run = trailingRun(piece, n, settings);
        const std::size_t runBytes = run.end - run.begin;
        if (runBytes != 0 && static_cast<std::int64_t>(plain ? runBytes / 2 : runBytes) >= minLength) {
            candidate.clear();
            appendRunText(candidate, piece, run, settings);
            entries.offer(static_cast<std::int64_t>(start + run.begin), candidate);
        }
        progress.step(t + 1);
        p = t;
    }
}

} // namespace

void searchUtf16Strings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                        Reporter& reporter) {
    ImageBytes bytes(image);
    searchUtf16In(bytes, settings, entries, reporter);
}

void streamUtf16Strings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                        Reporter& reporter) {
    searchUtf16In(file, settings, entries, reporter);
}

JobStatus scanUtf16WholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                             const ExtractionSettings& settings, Reporter& reporter) {
    return runStreamedScanFrame(programPath, outputPath, settings, reporter,
                                {kUtf16DoneHead, /*fillProgressAtEnd=*/true},
                                streamUtf16Strings);
}

} // namespace kestrin
