#include "extract/va_scanner.h"

#include "extract/char_classes.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"

#include <algorithm>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrin {

namespace {

constexpr std::size_t kChunk = 4096;
constexpr std::size_t kOverlap = 3;

class ReferenceCollector {
public:
    ReferenceCollector(std::string_view image, const PeLayout& layout) : image_(image), layout_(layout), map_(layout) {}

    // The value whose last byte is at file offset end (end >= 3).
    void examine(std::size_t end) {
        const auto* p = reinterpret_cast<const unsigned char*>(image_.data()) + end - 3;
        const auto v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                                 static_cast<std::uint32_t>(p[2]) << 16 |
                                                 static_cast<std::uint32_t>(p[3]) << 24);
        if (v < layout_.minVa || v > layout_.maxVa) return;
        std::int32_t offset = 0;
        if (map_.toFileOffset(v, offset)) references.push_back(offset);
    }

    std::vector<std::int32_t> references;

private:
    std::string_view image_;
    const PeLayout& layout_;
    VaMap map_;
};

// The zero pass over one chunk [begin, end) of the image.
void zeroPass(std::string_view image, std::size_t begin, std::size_t end, ReferenceCollector& collector) {
    const char* data = image.data();
    std::size_t pos = begin;
    while (pos < end) {
        const void* hit = std::memchr(data + pos, 0, end - pos);
        if (hit == nullptr) break;
        const auto m = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (m >= begin + kOverlap) collector.examine(m);
        // Pass over the zeros after m, but never over the chunk's last byte.
        std::size_t k = m + 1;
        while (k + 1 < end && data[k] == 0) ++k;
        pos = k;
    }
}

// Sorts signed 32-bit values in two 16-bit counting passes: for the
// millions of references of a large image far quicker than comparing.
void radixSort(std::vector<std::int32_t>& values) {
    const std::size_t n = values.size();
    if (n < 4096) {
        std::sort(values.begin(), values.end());
        return;
    }
    std::unique_ptr<std::int32_t[]> scratchBuffer(new std::int32_t[n]); // filled before it is read
    std::int32_t* scratch = scratchBuffer.get();
    std::vector<std::size_t> counts(65536);
    auto key = [](std::int32_t v, int shift) {
        return ((static_cast<std::uint32_t>(v) ^ 0x80000000u) >> shift) & 0xFFFFu;
    };
    std::int32_t* from = values.data();
    std::int32_t* to = scratch;
    for (const int shift : {0, 16}) {
        std::fill(counts.begin(), counts.end(), 0);
        for (std::size_t i = 0; i < n; ++i) ++counts[key(from[i], shift)];
        std::size_t sum = 0;
        for (std::size_t& c : counts) {
            const std::size_t here = c;
            c = sum;
            sum += here;
        }
        for (std::size_t i = 0; i < n; ++i) to[counts[key(from[i], shift)]++] = from[i];
        std::swap(from, to);
    }
    // Two passes: the sorted values are back in values.
}

} // namespace

std::vector<std::int32_t> scanVaReferences(std::string_view image, const PeLayout& layout, Reporter& reporter) {
    const std::size_t size = image.size();
    const std::int64_t chunks = static_cast<std::int64_t>(size / kChunk + (size % kChunk != 0 ? 1 : 0));
    reporter.setMaximum(chunks);
    ReferenceCollector collector(image, layout);
    // Reserved, not touched: the list rarely grows by copying.
    collector.references.reserve(size / 4 + 1024);
    if (layout.sections.empty() || size < 4) {
        reporter.setPosition(chunks);
        return {};
    }

    const unsigned topBase = static_cast<std::uint32_t>(layout.imageBase) >> 24;
    const unsigned topMax = static_cast<std::uint32_t>(layout.maxVa) >> 24;
    const bool zeroPassOn = topBase == 0;
    const unsigned firstByte = zeroPassOn ? 1 : topBase;

    // Byte passes: a search byte ends a value wherever it stands, so every
    // offset from 3 on that holds one is examined, chunk by chunk or not.
    if (firstByte <= topMax) {
        const unsigned count = topMax - firstByte + 1;
        const auto* data = reinterpret_cast<const unsigned char*>(image.data());
        if (count == 1) {
            std::size_t pos = 3;
            while (pos < size) {
                const void* hit = std::memchr(data + pos, static_cast<int>(firstByte), size - pos);
                if (hit == nullptr) break;
                const auto m = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data);
                collector.examine(m);
                pos = m + 1;
            }
        } else {
            // One pass for the whole range of search bytes, 16 bytes at a time.
            std::size_t m = 3;
#if defined(__SSE2__)
            const __m128i low = _mm_set1_epi8(static_cast<char>(firstByte));
            const __m128i span = _mm_set1_epi8(static_cast<char>(count - 1));
            for (; m + 16 <= size; m += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + m));
                const __m128i t = _mm_sub_epi8(v, low);
                unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(t, span), t)));
                while (hits != 0) {
                    collector.examine(m + static_cast<std::size_t>(__builtin_ctz(hits)));
                    hits &= hits - 1;
                }
            }
#endif
            for (; m < size; ++m)
                if (data[m] >= firstByte && data[m] <= topMax) collector.examine(m);
        }
    }

    // The zero pass depends on the chunks: runs of zeros are passed over
    // within a chunk only.
    for (std::int64_t j = 0; j < chunks; ++j) {
        const std::size_t begin = static_cast<std::size_t>(j) * kChunk;
        const std::size_t end = std::min(size, begin + kChunk + kOverlap);
        if (zeroPassOn) zeroPass(image, begin, end, collector);
        reporter.advance(1);
    }

    radixSort(collector.references);
    return std::move(collector.references);
}

namespace {

// The first terminator at or after an offset, for offsets asked in ascending
// order: a terminator found from p is also the first one from any offset
// between p and it, so many references into one long stretch cost one search.
class TerminatorFinder {
public:
    TerminatorFinder(std::string_view image, bool pair) : image_(image), pair_(pair) {}

    // The offset of the first zero byte (of the first two zero bytes in a
    // row) at or after o; -1 when there is none.
    std::int64_t from(std::int64_t o) {
        if (o < searchedFrom_ || o > found_) {
            searchedFrom_ = o;
            found_ = search(o);
        }
        return found_ == none() ? -1 : found_;
    }

private:
    std::int64_t none() const { return static_cast<std::int64_t>(image_.size()); }

    std::int64_t search(std::int64_t o) const {
        const char* data = image_.data();
        const std::int64_t size = none();
        if (!pair_) {
            const void* zero = std::memchr(data + o, 0, static_cast<std::size_t>(size - o));
            return zero == nullptr ? size : static_cast<const char*>(zero) - data;
        }
        std::int64_t pos = o;
        while (pos + 1 < size) {
            const void* zero = std::memchr(data + pos, 0, static_cast<std::size_t>(size - 1 - pos));
            if (zero == nullptr) break;
            const std::int64_t z = static_cast<const char*>(zero) - data;
            if (data[z + 1] == 0) return z;
            pos = z + 2; // the byte after z is not zero
        }
        return size;
    }

    std::string_view image_;
    bool pair_;
    std::int64_t searchedFrom_ = -1;
    std::int64_t found_ = -1;
};

} // namespace

void appendVaStrings(std::string_view image, const std::vector<std::int32_t>& references, bool utf16,
                     const ExtractionSettings& settings, EntryBuffer& out) {
    const auto size = static_cast<std::int64_t>(image.size());
    const char* data = image.data();
    TerminatorFinder terminators(image, utf16);
    std::int64_t prev = 0;
    std::int64_t prevLen = 0;
    std::string text;
    for (const std::int32_t reference : references) {
        const std::int64_t o = reference;
        if (o == prev) continue;
        if (settings.overlapFilter && o < prev + prevLen) continue;
        prev = o;
        prevLen = 0;
        if (o < 0 || o >= size) continue; // nothing to read there: an empty candidate
        if (!utf16) {
            const std::int64_t zero = terminators.from(o);
            const std::int64_t end = zero < 0 ? size : zero;
            text = validateAnsiCandidate(std::string_view(data + o, static_cast<std::size_t>(end - o)), settings);
            if (text.empty()) continue;
            prevLen = static_cast<std::int64_t>(text.size());
        } else {
            // The first pair of zero bytes at any alignment.
            const std::int64_t pair = terminators.from(o);
            if (pair < 0) continue;
            std::int64_t n = pair - o;
            if (n % 2 != 0) {
                // The pair began with the high byte of the last character.
                if (pair + 2 >= size || data[pair + 2] != 0) continue;
                ++n;
            }
            text = convertUtf16Candidate(std::string_view(data + o, static_cast<std::size_t>(n)), settings);
            if (text.empty()) continue;
            prevLen = n;
        }
        out.offer(o, text);
    }
}

JobStatus scanVaStrings(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        bool utf16, const ExtractionSettings& settings, Reporter& reporter) {
    return runScanFrame(programPath, outputPath, settings, reporter,
                        {utf16 ? kUtf16DoneHead : kAsciiDoneHead, /*fillProgressAtEnd=*/false},
                        [utf16](std::string_view image, const ExtractionSettings& s, EntryBuffer& entries, Reporter& r) {
                            const PeLayout layout = readPeLayout(image);
                            appendVaStrings(image, scanVaReferences(image, layout, r), utf16, s, entries);
                        });
}

} // namespace kestrin
