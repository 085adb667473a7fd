// The address-based scanner: fixtures built as small 32-bit PE images, and
// the reference search against a plain transcription of the chunked search
// (4096-byte chunks sharing 3 bytes, zero runs passed over within a chunk).

#include "extract/char_classes.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"
#include "extract/pe_layout.h"
#include "extract/va_scanner.h"
#include "tests/extract/scanner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kestrin::test {
namespace {

// Code at 0x400 (VA 0x1000), data at 0x1000 (VA 0x2000, 0x800 raw of 0x1000).
constexpr std::uint32_t kBase = 0x400000;
std::string sampleImage() {
    return peImage(0x1800, kBase, {{0x1000, 0xC00, 0x400, 0xC00}, {0x2000, 0x1000, 0x1000, 0x800}});
}
std::uint32_t vaOfOffset(std::uint32_t offset) { return kBase + 0x2000 + (offset - 0x1000); }

std::string runVa(const std::string& image, bool utf16, const ExtractionSettings& settings) {
    ScratchFolder folder;
    writeBytes(folder / "p.exe", image);
    RecordingReporter reporter;
    EXPECT_EQ(scanVaStrings(folder / "p.exe", folder / "out.txt", utf16, settings, reporter), JobStatus::Completed);
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.message().rfind(std::string(utf16 ? kUtf16DoneHead : kAsciiDoneHead), 0), 0u);
    return readBytes(folder / "out.txt");
}

TEST(VaScanner, FixturesFindReferencedStringsOnce) {
    // Two strings, each referred to by a pointer table and once more from code.
    std::string image = sampleImage();
    putText(image, 0x1100, std::string("Alpha\0Beta\0", 11));
    put32(image, 0x1200, vaOfOffset(0x1106));
    put32(image, 0x1204, vaOfOffset(0x1100));
    put32(image, 0x1208, vaOfOffset(0x1106));
    image[0x501] = 0x68; // push imm32 at an odd position
    put32(image, 0x502, vaOfOffset(0x1100));
    EXPECT_EQ(runVa(image, false, plainText(2)), entry(0x1100, "Alpha") + entry(0x1106, "Beta"));

    // A pointer whose bytes straddle a chunk boundary.
    std::string straddle = peImage(0x2400, kBase, {{0x1000, 0x2000, 0x400, 0x2000}});
    putText(straddle, 0x1800, std::string("Edge\0", 5));
    put32(straddle, 0xFFE, kBase + 0x1000 + (0x1800 - 0x400));
    EXPECT_EQ(runVa(straddle, false, plainText(2)), entry(0x1800, "Edge"));
}

TEST(VaScanner, OverlapFilterTailsAndBounds) {
    std::string image = sampleImage();
    putText(image, 0x1100, std::string("Hello\0", 6));
    put32(image, 0x1200, vaOfOffset(0x1100));
    put32(image, 0x1204, vaOfOffset(0x1102)); // into the middle of "Hello"
    put32(image, 0x1208, vaOfOffset(0x1900)); // the uninitialised tail: no raw data
    ExtractionSettings noFilter = plainText(2);
    noFilter.overlapFilter = false;
    EXPECT_EQ(runVa(image, false, plainText(2)), entry(0x1100, "Hello"));
    EXPECT_EQ(runVa(image, false, noFilter), entry(0x1100, "Hello") + entry(0x1102, "llo"));

    // The highest address is inside the range; image base 256 MiB has no zero pass.
    std::string high = peImage(0x800, 0x10000000, {{0x1000, 0x400, 0x400, 0x400}});
    putText(high, 0x7F0, std::string("Top\0", 4));
    put32(high, 0x500, 0x10000000 + 0x1000 + 0x3F0);
    put32(high, 0x504, 0x10000000 + 0x1400); // maxVA itself: offset 0x800 = rawEnd, nothing there
    EXPECT_EQ(runVa(high, false, plainText(2)), entry(0x7F0, "Top"));
}

TEST(VaScanner, Utf16TerminatorAtAnyAlignment) {
    std::string image = sampleImage();
    putText(image, 0x1100, std::string("A\0B\0\0\0", 6));         // the pair is found one byte early
    putText(image, 0x1110, std::string("A\0\x00\x4E\0\0", 6));    // U+0041 U+4E00: a zero pair inside
    putText(image, 0x1120, std::string("Z\0\0\0", 4));
    put32(image, 0x1200, vaOfOffset(0x1100));
    put32(image, 0x1204, vaOfOffset(0x1110));
    put32(image, 0x1208, vaOfOffset(0x1120));
    EXPECT_EQ(runVa(image, true, mixedText(2, 1)), entry(0x1100, "AB") + entry(0x1120, "Z"));
}

TEST(VaScanner, WildLayoutsNeverReadOutside) {
    std::string tiny = std::string("MZ", 2) + std::string(0x3A, '\0') + std::string("\x40\0\0\0PE\0\0", 8);
    std::vector<std::string> images = {tiny, peImage(0x400, kBase, {})};
    std::string many = peImage(0x600, kBase, {{0x1000, 0x100, 0x400, 0x100}});
    many[0x86] = '\xFF';
    many[0x87] = '\xFF'; // 65535 sections, almost all past the end
    images.push_back(many);
    std::mt19937 random(5);
    for (int i = 0; i < 40; ++i) {
        std::string wild = sampleImage();
        for (int k = 0; k < 24; ++k)
            wild[0x80 + 248 + std::uniform_int_distribution<int>(0, 79)(random)] = static_cast<char>(random());
        put32(wild, 0x80 + 52, static_cast<std::uint32_t>(random()));
        images.push_back(wild);
    }
    std::string headerAtEnd = sampleImage();
    put32(headerAtEnd, 0x3C, 0x7FFFFFF0);
    images.push_back(headerAtEnd);
    const ExtractionSettings plain = plainText(1);
    const ExtractionSettings mixed = mixedText(3, 1);
    for (const auto& image : images) {
        EntryBuffer plainOut(plain);
        EntryBuffer mixedOut(mixed);
        SilentReporter reporter;
        const PeLayout layout = readPeLayout(image);
        appendVaStrings(image, scanVaReferences(image, layout, reporter), false, plain, plainOut);
        appendVaStrings(image, scanVaReferences(image, layout, reporter), true, mixed, mixedOut);
    }
}

TEST(PeLayout, SignatureAndWidth) {
    const std::string pe = sampleImage();
    std::string pe64 = pe;
    pe64[0x80 + 24] = 0x0B;
    pe64[0x80 + 25] = 0x02;
    std::string pastEnd = pe;
    put32(pastEnd, 0x3C, 0x10000);
    EXPECT_TRUE(isPeFile(pe));
    EXPECT_FALSE(isPe64(pe));
    EXPECT_TRUE(isPeFile(pe64));
    EXPECT_TRUE(isPe64(pe64));
    EXPECT_FALSE(isPeFile(pastEnd));
    EXPECT_FALSE(isPeFile("MZ"));
    EXPECT_FALSE(isPeFile(""));
    EXPECT_FALSE(isPeFile("Hello, world"));
}

// ---- Reference search, transcribed ----------------------------------------

std::vector<std::int32_t> referenceSearch(const std::string& image, const PeLayout& layout) {
    std::vector<std::int32_t> refs;
    if (layout.sections.empty()) return refs;
    auto mapped = [&](std::int32_t v, std::int32_t& off) {
        const std::size_t count = layout.sections.size();
        for (std::size_t i = 0; i < count; ++i) {
            const auto& s = layout.sections[i];
            off = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) - static_cast<std::uint32_t>(layout.imageBase) -
                                            static_cast<std::uint32_t>(s.virtualAddress) +
                                            static_cast<std::uint32_t>(s.rawPointer));
            if (i == 0 && off < s.rawPointer) return false;
            if (i + 1 == count && off > layout.rawEnd) return false;
            const auto top = static_cast<std::int32_t>(static_cast<std::uint32_t>(s.rawPointer) +
                                                       static_cast<std::uint32_t>(s.rawSize));
            if (s.rawPointer <= off && off <= top) return true;
        }
        return false;
    };
    auto examine = [&](const std::string& chunk, std::size_t m) {
        if (m < 3) return;
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(chunk[m - 3 + i])) << (8 * i);
        const auto v = static_cast<std::int32_t>(u);
        std::int32_t off = 0;
        if (layout.minVa <= v && v <= layout.maxVa && mapped(v, off)) refs.push_back(off);
    };
    const unsigned topBase = static_cast<std::uint32_t>(layout.imageBase) >> 24;
    const unsigned topMax = static_cast<std::uint32_t>(layout.maxVa) >> 24;
    const std::size_t chunks = image.size() / 4096 + (image.size() % 4096 != 0 ? 1 : 0);
    for (std::size_t j = 0; j < chunks; ++j) {
        const std::string chunk = image.substr(j * 4096, 4099);
        if (topBase == 0) {
            std::size_t i = 0;
            while (true) {
                const std::size_t m = chunk.find('\0', i);
                if (m == std::string::npos) break;
                examine(chunk, m);
                std::size_t k = m + 1;
                while (k < chunk.size() - 1 && chunk[k] == '\0') ++k;
                i = k;
                if (i >= chunk.size()) break;
            }
        }
        for (unsigned b = topBase == 0 ? 1 : topBase; b <= topMax; ++b)
            for (std::size_t m = 0; m < chunk.size(); ++m)
                if (static_cast<unsigned char>(chunk[m]) == b) examine(chunk, m);
    }
    std::sort(refs.begin(), refs.end());
    return refs;
}

TEST(VaScanner, SearchEqualsChunkedTranscriptionOnGeneratedImages) {
    std::mt19937 random(1028);
    for (int round = 0; round < 60; ++round) {
        const bool lowBase = round % 3 != 2;
        const std::uint32_t base = lowBase ? static_cast<std::uint32_t>(random() % 4) * 0x100 : 0x01000000u * (1 + random() % 3);
        // The first two rounds give tens of thousands of references.
        const std::size_t size = round < 2 ? 0x200000 : 0x800 + random() % 30000;
        const std::uint32_t firstVa = lowBase ? 0x10 + random() % 0x300 : 0x1000;
        // Every other image has its second section above 64 MiB, so that its
        // addresses span several top bytes.
        const std::uint32_t lastVa = round % 2 != 0 ? firstVa + 0x4000 : 0x04000000 + firstVa;
        std::vector<Section> sections = {{firstVa, 0x800, 0x400, static_cast<std::uint32_t>(size / 3)},
                                         {lastVa, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size / 3),
                                          static_cast<std::uint32_t>(size / 2)}};
        std::string image = peImage(size, base, sections);
        std::uniform_int_distribution<int> style(0, 3);
        for (std::size_t at = 0x400; at + 4 <= image.size();) {
            const int s = style(random);
            if (s == 0) {
                at += random() % 64; // zero run
            } else if (s == 1) {
                const bool second = random() % 2 == 0;
                put32(image, at, base + (second ? lastVa + random() % (static_cast<std::uint32_t>(size) + 0x100)
                                                : firstVa + random() % 0x900));
                at += 1 + random() % 4;
            } else {
                image[at] = static_cast<char>(s == 2 ? random() % 4 : random());
                ++at;
            }
        }
        image.resize(size);
        const PeLayout layout = readPeLayout(image);
        SilentReporter reporter;
        std::vector<std::int32_t> fast = scanVaReferences(image, layout, reporter);
        std::vector<std::int32_t> plain = referenceSearch(image, layout);
        fast.erase(std::unique(fast.begin(), fast.end()), fast.end());
        plain.erase(std::unique(plain.begin(), plain.end()), plain.end());
        ASSERT_EQ(fast, plain) << "round " << round;
    }
}

// The string pass written reference by reference: every candidate searched
// for its terminator from its own start.
std::string plainVaStrings(std::string_view image, const std::vector<std::int32_t>& references, bool utf16,
                           const ExtractionSettings& settings) {
    std::string out;
    const auto size = static_cast<std::int64_t>(image.size());
    std::int64_t prev = 0;
    std::int64_t prevLen = 0;
    for (const std::int64_t o : references) {
        if (o == prev || (settings.overlapFilter && o < prev + prevLen)) continue;
        prev = o;
        prevLen = 0;
        if (o < 0 || o >= size) continue;
        std::string text;
        if (!utf16) {
            std::int64_t end = o;
            while (end < size && image[static_cast<std::size_t>(end)] != 0) ++end;
            text = validateAnsiCandidate(image.substr(static_cast<std::size_t>(o), static_cast<std::size_t>(end - o)), settings);
            prevLen = static_cast<std::int64_t>(text.size());
        } else {
            std::int64_t pair = o;
            while (pair + 1 < size && (image[static_cast<std::size_t>(pair)] != 0 || image[static_cast<std::size_t>(pair + 1)] != 0)) ++pair;
            if (pair + 1 >= size) continue;
            std::int64_t n = pair - o;
            if (n % 2 != 0) {
                if (pair + 2 >= size || image[static_cast<std::size_t>(pair + 2)] != 0) continue;
                ++n;
            }
            text = convertUtf16Candidate(image.substr(static_cast<std::size_t>(o), static_cast<std::size_t>(n)), settings);
            prevLen = text.empty() ? 0 : n;
        }
        if (!text.empty()) appendEntry(out, o, text, settings);
    }
    return out;
}

TEST(VaScanner, StringPassEqualsReferenceByReferenceSearchOnGeneratedImages) {
    // Many references into the same long stretches (where each string is
    // searched for once), with and without the overlap filter.
    std::mt19937 random(77);
    const char pieces[][4] = {"a", "b", "\0", "\xB0\xA1", "\x81", "\n", "\x01"};
    for (int round = 0; round < 80; ++round) {
        std::string image;
        const std::size_t size = 200 + random() % 6000;
        while (image.size() < size) {
            const std::string_view piece = pieces[random() % 7];
            image += piece.empty() ? std::string(1, '\0') : std::string(piece);
            if (random() % 40 == 0) image.append(random() % 300, static_cast<char>('A' + random() % 3));
        }
        std::vector<std::int32_t> references;
        for (int i = 0; i < 400; ++i) references.push_back(static_cast<std::int32_t>(random() % (size + 8)) - 4);
        std::sort(references.begin(), references.end());
        for (ExtractionSettings s : {plainText(1), mixedText(1, 2), mixedText(3, 1)}) {
            for (const bool filter : {true, false}) {
                s.overlapFilter = filter;
                for (const bool utf16 : {false, true}) {
                    EntryBuffer fast(s);
                    appendVaStrings(image, references, utf16, s, fast);
                    ASSERT_EQ(fast.bytes(), plainVaStrings(image, references, utf16, s))
                        << "round " << round << " utf16 " << utf16 << " filter " << filter;
                }
            }
        }
    }
}

} // namespace
} // namespace kestrin::test
