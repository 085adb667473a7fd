#include "extract/utf8_scanner.h"

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

bool isThreeByteLead(unsigned char b) { return b >= 0xE0 && b <= 0xFE; }

// The table code of a three-byte sequence, 0 when it is not accepted.
std::uint16_t sequenceCode(unsigned char lead, unsigned char second, unsigned char third, const UnitTable& table) {
    if (lead < 0xE0 || lead > 0xEF) return 0;
    if ((second & 0xC0) != 0x80 || (third & 0xC0) != 0x80) return 0;
    const unsigned character = ((lead & 0x0Fu) << 12) | ((second & 0x3Fu) << 6) | (third & 0x3Fu);
    if (character < 0x800) return 0;                           // overlong form
    if (character >= 0xD800 && character <= 0xDFFF) return 0;  // surrogate
    const std::uint16_t code = table[character];
    return code >= 0x100 ? code : 0;
}

struct RunBounds {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The walk over a segment visits every byte that is not a continuation byte
// (0x80 to 0xBF) of a sequence it took, so each printable byte and each lead
// byte is seen whatever came before; a sequence is taken exactly when its own
// three bytes pass. The run that reaches the end can therefore be read
// backwards from the end.
RunBounds utf8Run(const unsigned char* b, std::size_t n, const UnitTable& table, const PrintableTable& printable) {
    if (n == 0) return {};
    // A lead byte among the last two bytes leaves no room for its sequence.
    if (n >= 2 && isThreeByteLead(b[n - 2])) return {};
    std::size_t k = n;
    for (;;) {
        if (k >= 1 && printable[b[k - 1]]) {
            k -= 1;
        } else if (k >= 3 && sequenceCode(b[k - 3], b[k - 2], b[k - 1], table) != 0) {
            k -= 3;
        } else {
            break;
        }
    }
    return {k, n};
}

void appendRunText(std::string& out, const unsigned char* b, RunBounds run, const UnitTable& table,
                   const PrintableTable& printable) {
    for (std::size_t k = run.begin; k < run.end;) {
        if (printable[b[k]]) {
            out.push_back(static_cast<char>(b[k]));
            k += 1;
        } else {
            appendUnitCode(out, sequenceCode(b[k], b[k + 1], b[k + 2], table));
            k += 3;
        }
    }
}

} // namespace

std::string convertUtf8Sequence(unsigned char lead, unsigned char second, unsigned char third,
                                const ExtractionSettings& settings) {
    std::string out;
    const std::uint16_t code = sequenceCode(lead, second, third, mixedUnitTable(settings.doubleByteClass));
    if (code != 0) appendUnitCode(out, code);
    return out;
}

std::string extractUtf8Run(std::string_view segment, std::int64_t& start, const ExtractionSettings& settings) {
    std::string text;
    if (settings.textClassMode != TextClassMode::Mixed) return text;
    const auto* b = reinterpret_cast<const unsigned char*>(segment.data());
    const UnitTable& table = mixedUnitTable(settings.doubleByteClass);
    const RunBounds run = utf8Run(b, segment.size(), table, printableTable());
    if (run.begin == run.end) return text;
    appendRunText(text, b, run, table, printableTable());
    start += static_cast<std::int64_t>(run.begin);
    return text;
}

namespace {

template <class Bytes>
void searchUtf8In(Bytes& bytes, const ExtractionSettings& settings, EntryBuffer& entries, Reporter& reporter) {
    using byte_search::npos;
    const std::size_t size = bytes.size();
    BlockProgress progress(reporter, size);
    if (size == 0) return;
    const bool mixed = settings.textClassMode == TextClassMode::Mixed;
    const UnitTable& table = mixedUnitTable(settings.doubleByteClass);
    const PrintableTable& printable = printableTable();
    std::string candidate;

    std::size_t p = 0;
    for (;;) {
        if (!skipZeros(bytes, p)) return;
        const std::size_t start = p;
        const std::size_t z = bytes.findZero(start);
        // A segment whose zero is the file's last byte is not examined.
        if (z == npos || z + 1 == size) break;
        if (mixed) {
            const unsigned char* segment = bytes.at(start);
            const RunBounds run = utf8Run(segment, z - start, table, printable);
            // A run of r bytes gives at most r ANSI bytes.
            if (static_cast<std::int64_t>(run.end - run.begin) >= settings.minLength && run.end != run.begin) {
                candidate.clear();
                appendRunText(candidate, segment, run, table, printable);
                entries.offer(static_cast<std::int64_t>(start + run.begin), candidate);
            }
        }
        progress.step(z + 1);
        p = z;
    }
}

} // namespace

void searchUtf8Strings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter) {
    ImageBytes bytes(image);
    searchUtf8In(bytes, settings, entries, reporter);
}

void streamUtf8Strings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter) {
    searchUtf8In(file, settings, entries, reporter);
}

JobStatus scanUtf8WholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                            const ExtractionSettings& settings, Reporter& reporter) {
    return runStreamedScanFrame(programPath, outputPath, settings, reporter,
                                {kUtf8DoneHead, /*fillProgressAtEnd=*/true},
                                streamUtf8Strings);
}

} // namespace kestrin
