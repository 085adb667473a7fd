#include "extract/ansi_scanner.h"

#include "extract/char_classes.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrin {

namespace {

constexpr std::size_t kBlock = StreamedFile::kDefaultBlock;

} // namespace

namespace {

// The index of the first byte at or after i that is not printable ASCII
// (a high byte or a control byte), or n.
inline std::size_t skipPrintableAscii(const unsigned char* b, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8(0x20));
        __m128i plain = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(0x5E)), t);
        plain = _mm_or_si128(plain, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x09)));
        plain = _mm_or_si128(plain, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0A)));
        plain = _mm_or_si128(plain, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0D)));
        const unsigned stops = ~static_cast<unsigned>(_mm_movemask_epi8(plain)) & 0xFFFFu;
        if (stops != 0) return i + static_cast<std::size_t>(__builtin_ctz(stops));
    }
#endif
    const auto& printable = printableByteTable();
    while (i < n && b[i] < 0x80 && printable[b[i]]) ++i;
    return i;
}

} // namespace

AnsiStringFinder::AnsiStringFinder(const ExtractionSettings& settings, EntryBuffer& out)
    : settings_(settings), out_(out) {}

std::size_t AnsiStringFinder::runStartOf(std::string_view piece, std::size_t from, bool open, bool& openLead) const {
    const auto& printable = printableByteTable();
    const auto* b = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t n = piece.size();
    openLead = false;
    if (settings_.textClassMode != TextClassMode::Mixed) {
        // Plain text: the run starts after the last byte that is not printable.
        std::size_t i = n;
        while (i > from && printable[b[i - 1]]) --i;
        return i > from ? i : 0;
    }
    // Printable ASCII bytes only extend the run: the walk jumps over them and
    // stops at the bytes that decide something (a high byte, a control).
    std::size_t runStart = 0;
    std::size_t i = from;
    const int cls = settings_.doubleByteClass;
    while ((i = skipPrintableAscii(b, i, n)) < n) {
        const unsigned char c = b[i];
        if (c <= 0x80) {
            runStart = ++i;
        } else if (i + 1 == n) {
            if (open) {
                openLead = true;
                break;
            }
            runStart = ++i;
        } else if (isValidDoubleByte(c, b[i + 1], cls)) {
            i += 2;
        } else {
            // An invalid pair: the byte after the lead is examined on its own.
            runStart = ++i;
        }
    }
    return runStart;
}

void AnsiStringFinder::emit(std::int64_t offset, std::string_view run) {
    if (run.empty() || static_cast<std::int64_t>(run.size()) < settings_.minLength) return;
    if (settings_.textClassMode == TextClassMode::Mixed && run.find('\\') != std::string_view::npos) {
        // Mark the backslash trail bytes: the run starts on a character.
        marked_.assign(run);
        for (std::size_t i = 0; i < marked_.size(); ++i) {
            if (static_cast<unsigned char>(marked_[i]) >= 0x81) {
                ++i;
                if (marked_[i] == '\\') marked_[i] = kTrailBackslashMarker;
            }
        }
        out_.offer(offset, marked_);
        return;
    }
    out_.offer(offset, run);
}

void AnsiStringFinder::trimCarry() {
    bool openLead = false;
    const std::size_t start = runStartOf(carry_, walkFrom_, true, openLead);
    carry_.erase(0, start);
    carryOffset_ += static_cast<std::int64_t>(start);
    walkFrom_ = openLead ? carry_.size() - 1 : carry_.size();
}

namespace {

// Bit i set when byte i of the 16 breaks a run: a zero byte or a byte that is
// not printable (plain text), or, for mixed text, one that is not printable
// and below 0x80 (a control byte or DEL: never a trail byte, so it breaks a
// run whatever the pairing before it). Zero bytes alone in zeros.
struct BreakMasks {
    unsigned breaks;
    unsigned zeros;
};

inline BreakMasks masksOf(const unsigned char* p, bool mixed) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8(0x20));
    __m128i printable = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(0x5E)), t);
    printable = _mm_or_si128(printable, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x09)));
    printable = _mm_or_si128(printable, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0A)));
    printable = _mm_or_si128(printable, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0D)));
    if (mixed) printable = _mm_or_si128(printable, _mm_cmplt_epi8(v, _mm_setzero_si128()));
    return {static_cast<unsigned>(~_mm_movemask_epi8(printable)) & 0xFFFFu,
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())))};
#else
    BreakMasks m{0, 0};
    for (int i = 0; i < 16; ++i) {
        const unsigned char c = p[i];
        const bool keeps = isPrintableByte(c) || (mixed && c >= 0x80);
        if (!keeps) m.breaks |= 1u << i;
        if (c == 0) m.zeros |= 1u << i;
    }
    return m;
#endif
}

inline BreakMasks tailMasksOf(const unsigned char* p, std::size_t n, bool mixed) {
    BreakMasks m{0, 0};
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        const bool keeps = isPrintableByte(c) || (mixed && c >= 0x80);
        if (!keeps) m.breaks |= 1u << i;
        if (c == 0) m.zeros |= 1u << i;
    }
    return m;
}

inline unsigned highestBit(unsigned mask) { return 31u - static_cast<unsigned>(__builtin_clz(mask)); }

} // namespace

void AnsiStringFinder::finishRegion(const char* data, std::int64_t blockOffset, std::size_t z) {
    const std::int64_t start = lastBreak_ + 1;
    const bool mixed = settings_.textClassMode == TextClassMode::Mixed;
    std::string_view region;
    std::size_t walkFrom = 0;
    if (start >= blockOffset) {
        const auto from = static_cast<std::size_t>(start - blockOffset);
        region = std::string_view(data + from, z - from);
    } else {
        carry_.append(data, z);
        region = carry_;
        walkFrom = walkFrom_;
    }
    if (!region.empty()) {
        if (!mixed) {
            emit(start, region);
        } else {
            bool openLead = false;
            const std::size_t runStart = runStartOf(region, walkFrom, false, openLead);
            emit(start + static_cast<std::int64_t>(runStart), region.substr(runStart));
        }
    }
    carry_.clear();
    walkFrom_ = 0;
}

void AnsiStringFinder::feed(std::string_view block) {
    const char* data = block.data();
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const std::size_t n = block.size();
    const std::int64_t blockOffset = offset_;
    offset_ += static_cast<std::int64_t>(n);
    const bool mixed = settings_.textClassMode == TextClassMode::Mixed;

    for (std::size_t i = 0; i < n; i += 16) {
        const BreakMasks m = i + 16 <= n ? masksOf(bytes + i, mixed) : tailMasksOf(bytes + i, n - i, mixed);
        if (m.breaks == 0) continue;
        unsigned zeros = m.zeros;
        while (zeros != 0) {
            const unsigned k = static_cast<unsigned>(__builtin_ctz(zeros));
            // The last break before this zero, in this block of 16 or earlier.
            const unsigned before = m.breaks & ((1u << k) - 1u);
            if (before != 0) lastBreak_ = blockOffset + static_cast<std::int64_t>(i + highestBit(before));
            finishRegion(data, blockOffset, i + k);
            lastBreak_ = blockOffset + static_cast<std::int64_t>(i + k);
            zeros &= zeros - 1;
        }
        lastBreak_ = blockOffset + static_cast<std::int64_t>(i + highestBit(m.breaks));
    }

    // Keep the bytes after the last break: a run that a later zero may end.
    const std::int64_t start = lastBreak_ + 1;
    if (start >= blockOffset) {
        const auto from = static_cast<std::size_t>(start - blockOffset);
        carry_.assign(data + from, n - from);
        carryOffset_ = start;
        walkFrom_ = 0;
    } else {
        carry_.append(data, n);
    }
    if (mixed && carry_.size() > (std::size_t{1} << 20)) {
        // A long stretch without breaks: keep only its current run.
        trimCarry();
        lastBreak_ = carryOffset_ - 1;
    }
}

void streamAnsiStrings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter) {
    const std::size_t size = file.size();
    reporter.setMaximum(blockCount(size));
    AnsiStringFinder finder(settings, entries);
    for (std::size_t done = 0; done < size;) {
        // Only the block being fed is held.
        file.keepFrom(done);
        const std::size_t end = std::min(size, done + kBlock);
        if (!file.ensure(end)) return;
        finder.feed(std::string_view(reinterpret_cast<const char*>(file.at(done)), end - done));
        reporter.advance(blockCount(end) - blockCount(done));
        done = end;
    }
}

JobStatus scanAnsiWholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                            const ExtractionSettings& settings, Reporter& reporter) {
    return runStreamedScanFrame(programPath, outputPath, settings, reporter,
                                {kAsciiDoneHead, /*fillProgressAtEnd=*/false}, streamAnsiStrings);
}

} // namespace kestrin
