// Cases for the PE layout, the address-based scanner and the extraction job's
// refusals, on small 32-bit PE images built here. The reference search is
// compared with a plain position-by-position transcription of the chunked
// search on many generated images.

#include "core/file_io.h"
#include "extract/extraction_job.h"
#include "extract/extraction_messages.h"
#include "extract/extraction_settings.h"
#include "extract/pe_layout.h"
#include "extract/va_scanner.h"
#include "tests/extract/scanner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kestrin {
namespace {

using test::readBytes;
using test::RecordingReporter;
using test::ScratchFolder;
using test::writeBytes;
using test::entry;
using test::kHeader;
using test::peImage;
using test::put16;
using test::put32;
using test::putText;
using test::Section;


ExtractionSettings asciiSettings(std::int32_t minLength = 1) {
    ExtractionSettings s;
    s.minLength = minLength;
    return s;
}

ExtractionSettings gbkSettings() {
    ExtractionSettings s;
    s.textClassMode = TextClassMode::Mixed;
    s.doubleByteClass = kGbkClass;
    s.minLength = 1;
    return s;
}

// The usual layout of the tests: image base 4 MiB, one section at virtual
// address 0x1000 whose raw data is file offsets 0x400 to 0x1400.
constexpr std::uint32_t kBase = 0x400000;
const Section kText{0x1000, 0x2000, 0x400, 0x1000};

std::uint32_t vaOf(std::uint32_t fileOffset) { return kBase + 0x1000 + fileOffset - 0x400; }

bool hasHead(const std::string& message, std::string_view head) {
    return message.rfind(head, 0) == 0 && message.size() >= kDoneTail.size() &&
           message.compare(message.size() - kDoneTail.size(), kDoneTail.size(), kDoneTail) == 0;
}

// ---- Layout and address mapping ---------------------------------------------

TEST(PeLayoutCases, SignatureTests) {
    const std::string good = peImage(0x400, kBase, {kText});
    EXPECT_TRUE(isPeFile(good));
    EXPECT_FALSE(isPe64(good));
    EXPECT_TRUE(isPe64(peImage(0x400, kBase, {kText}, 0x20B)));

    std::string noMz = good;
    noMz[0] = 'X';
    EXPECT_FALSE(isPeFile(noMz));
    std::string pastEnd = good;
    put32(pastEnd, 0x3C, 0x10000); // header offset past the end of the file
    EXPECT_FALSE(isPeFile(pastEnd));
    std::string negative = good;
    put32(negative, 0x3C, 0xFFFFFFF0u);
    EXPECT_FALSE(isPeFile(negative));
    EXPECT_FALSE(isPeFile(""));
    EXPECT_FALSE(isPeFile("M"));
    EXPECT_FALSE(isPeFile("MZ")); // header offset reads 0: "MZ\0\0" is not "PE\0\0"
}

TEST(PeLayoutCases, RangeAndMappingFollowTheSectionTable) {
    // Section 1 lies above section 2 in memory; the first section in table
    // order decides the low bound and a computed offset below its raw data
    // refuses at once, even though section 2 would map it.
    const std::string image = peImage(0x1000, kBase,
                                      {{0x2000, 0x100, 0x400, 0x200}, {0x1000, 0x300, 0x600, 0x200}});
    const PeLayout layout = readPeLayout(image);
    ASSERT_EQ(layout.sections.size(), 2u);
    EXPECT_EQ(layout.minVa, static_cast<std::int32_t>(kBase + 0x2000));
    EXPECT_EQ(layout.maxVa, static_cast<std::int32_t>(kBase + 0x1000 + 0x300));
    EXPECT_EQ(layout.rawEnd, 0x800);

    struct Case {
        std::uint32_t va;
        bool maps;
        std::int32_t offset;
    } cases[] = {
        {kBase + 0x2000, true, 0x400},
        {kBase + 0x2200, true, 0x600}, // the upper end of the raw data is included
        {kBase + 0x1000, false, 0},    // below the first section
        {kBase + 0x2401, false, 0},    // past rawEnd
    };
    for (const Case& c : cases) {
        std::int32_t offset = -1;
        EXPECT_EQ(vaToFileOffset(layout, static_cast<std::int32_t>(c.va), offset), c.maps) << std::hex << c.va;
        if (c.maps) {
            EXPECT_EQ(offset, c.offset) << std::hex << c.va;
        }
    }
}

TEST(PeLayoutCases, UninitialisedTailMapsNowhere) {
    const std::string image = peImage(0x1000, kBase, {{0x1000, 0x800, 0x400, 0x200}, {0x2000, 0x100, 0x800, 0x100}});
    const PeLayout layout = readPeLayout(image);
    std::int32_t offset = 0;
    EXPECT_TRUE(vaToFileOffset(layout, kBase + 0x1200, offset)); // end of raw data
    EXPECT_EQ(offset, 0x600);
    // 0x1300 is in section 1's virtual range but beyond its raw data; the
    // computed offset 0x700 lies in no section's raw data.
    EXPECT_FALSE(vaToFileOffset(layout, kBase + 0x1300, offset));
}

TEST(PeLayoutCases, WildFieldsWrapAndReadInsideTheImage) {
    // Negative and huge fields: sums wrap in 32 bits, comparisons are signed.
    const std::string image =
        peImage(0x600, 0x7FFFF000u, {{0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFF00u, 0x7FFFFFFFu}, {0x80000000u, 0x10, 0x10, 0x80000000u}});
    const PeLayout layout = readPeLayout(image);
    EXPECT_EQ(layout.minVa, static_cast<std::int32_t>(0x7FFFF000u + 0x7FFFFFFFu));
    EXPECT_EQ(layout.maxVa, static_cast<std::int32_t>(0x7FFFF000u + 0x80000000u + 0x10u));
    EXPECT_EQ(layout.rawEnd, static_cast<std::int32_t>(0x80000000u + 0x10u));
    std::int32_t offset = 0;
    for (std::uint32_t v : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x7FFFF000u})
        (void)vaToFileOffset(layout, static_cast<std::int32_t>(v), offset);
    RecordingReporter reporter;
    (void)scanVaReferences(image, layout, reporter);

    // A header offset that points at the last bytes of the file: the section
    // table lies wholly past the end and reads as zeros.
    std::string tail(0x100, '\0');
    putText(tail, 0, "MZ");
    put32(tail, 0x3C, 0xFC);
    putText(tail, 0xFC, std::string_view("PE\0\0", 4));
    EXPECT_TRUE(isPeFile(tail));
    const PeLayout tailLayout = readPeLayout(tail);
    EXPECT_EQ(tailLayout.numberOfSections, 0);
    EXPECT_TRUE(tailLayout.sections.empty());
}

TEST(PeLayoutCases, RangeAcrossTheSignBoundaryIsEmpty) {
    // minVA 0x7FFFF400, maxVA 0x80001400 (negative as a signed value): no
    // value lies in between, so nothing is referenced although the pointer
    // would map into the raw data.
    std::string image = peImage(0x2000, 0x7FFFF000u, {{0x400, 0x2000, 0x400, 0x1C00}});
    put32(image, 0x800, 0x7FFFF000u + 0x600);
    putText(image, 0x600, std::string("Text\0", 5));
    const PeLayout layout = readPeLayout(image);
    EXPECT_GT(layout.minVa, layout.maxVa);
    std::int32_t offset = 0;
    EXPECT_TRUE(vaToFileOffset(layout, static_cast<std::int32_t>(0x7FFFF600u), offset));
    RecordingReporter reporter;
    EXPECT_TRUE(scanVaReferences(image, layout, reporter).empty());
}

TEST(PeLayoutCases, SixtyFiveThousandSectionsPastTheEnd) {
    std::string image = peImage(0x800, kBase, {kText});
    put16(image, kHeader + 6, 0xFFFF);
    const PeLayout layout = readPeLayout(image);
    EXPECT_EQ(layout.sections.size(), 0xFFFFu);
    // Every record past the end reads as zeros, so the last section is all 0.
    EXPECT_EQ(layout.maxVa, static_cast<std::int32_t>(kBase));
    RecordingReporter reporter;
    const auto references = scanVaReferences(image, layout, reporter);
    const ExtractionSettings ascii = asciiSettings();
    EntryBuffer out(ascii);
    appendVaStrings(image, references, false, ascii, out);
}

TEST(PeLayoutCases, LongTablesMapLikeTheTableWalk) {
    // Layouts of 17 to 80 sections (looked up by address ranges, not walked)
    // with overlapping, empty, negative and wrapping fields: every address
    // near a section's edges and many at random map as the walk maps them.
    std::mt19937 rng(31);
    const std::uint32_t edges[] = {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x10u, 0x1000u};
    auto field = [&](std::uint32_t scale) {
        switch (rng() % 6) {
        case 0: return edges[rng() % 7];
        case 1: return static_cast<std::uint32_t>(rng());
        default: return static_cast<std::uint32_t>(rng() % scale);
        }
    };
    for (int round = 0; round < 300; ++round) {
        PeLayout layout;
        layout.imageBase = static_cast<std::int32_t>(round % 3 == 0 ? field(0x1000000) : 0x400000u);
        const std::size_t count = 17 + rng() % 64;
        for (std::size_t i = 0; i < count; ++i) {
            SectionRecord r;
            r.virtualAddress = static_cast<std::int32_t>(field(0x20000));
            r.virtualSize = static_cast<std::int32_t>(field(0x4000));
            r.rawPointer = static_cast<std::int32_t>(field(0x20000));
            r.rawSize = static_cast<std::int32_t>(rng() % 4 == 0 ? 0u : field(0x4000));
            layout.sections.push_back(r);
        }
        layout.rawEnd = wrapAdd(layout.sections.back().rawPointer, layout.sections.back().rawSize);
        VaMap map(layout);
        std::vector<std::int32_t> addresses;
        for (const SectionRecord& r : layout.sections) {
            const std::int32_t first = wrapAdd(layout.imageBase, r.virtualAddress);
            for (std::int32_t d : {-1, 0, 1}) {
                addresses.push_back(wrapAdd(first, d));
                addresses.push_back(wrapAdd(wrapAdd(first, r.rawSize), d));
            }
        }
        for (int i = 0; i < 2000; ++i) addresses.push_back(static_cast<std::int32_t>(field(0x1000000) + layout.imageBase));
        for (const std::uint32_t e : edges) addresses.push_back(static_cast<std::int32_t>(e));
        // Twice: the first lookups walk the table, the later ones use ranges.
        const std::size_t once = addresses.size();
        for (std::size_t i = 0; i < once; ++i) addresses.push_back(addresses[i]);
        for (const std::int32_t v : addresses) {
            std::int32_t walked = 0;
            std::int32_t looked = 0;
            const bool walkMaps = vaToFileOffset(layout, v, walked);
            ASSERT_EQ(map.toFileOffset(v, looked), walkMaps) << "round " << round << " v " << v;
            if (walkMaps) {
                ASSERT_EQ(looked, walked) << "round " << round << " v " << v;
            }
        }
    }
}

// ---- Reference search ---------------------------------------------------------

// The chunked search written position by position: chunks of 4096 + 3 bytes
// starting every 4096 bytes; a value ends at chunk position m >= 4 (1-based);
// zero bytes end a value only at the first zero of a run (the chunk's last
// byte always), when the image base's top byte is 0; the byte values from the
// base's top byte (at least 1) to maxVA's top byte end a value anywhere.
std::vector<std::int32_t> plainReferences(std::string_view image, const PeLayout& layout) {
    std::vector<std::int32_t> refs;
    const std::size_t length = image.size();
    const int topBase = static_cast<int>(static_cast<std::uint32_t>(layout.imageBase) >> 24);
    const int topMax = static_cast<int>(static_cast<std::uint32_t>(layout.maxVa) >> 24);
    auto examine = [&](std::size_t last) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[last - 3 + i])) << (8 * i);
        const auto value = static_cast<std::int32_t>(v);
        std::int32_t offset = 0;
        if (layout.minVa <= value && value <= layout.maxVa && vaToFileOffset(layout, value, offset))
            refs.push_back(offset);
    };
    for (std::size_t start = 0; start < length; start += 4096) {
        const std::size_t n = std::min<std::size_t>(4099, length - start);
        auto at = [&](std::size_t m) { return static_cast<unsigned char>(image[start + m - 1]); };
        if (topBase == 0) {
            std::size_t m = 1;
            while (m <= n) {
                while (m <= n && at(m) != 0) ++m;
                if (m > n) break;
                if (m >= 4) examine(start + m - 1);
                std::size_t next = m + 1;
                while (next < n && at(next) == 0) ++next;
                m = next;
            }
        }
        for (int b = std::max(topBase, 1); b <= topMax; ++b)
            for (std::size_t m = 4; m <= n; ++m)
                if (at(m) == b) examine(start + m - 1);
    }
    std::sort(refs.begin(), refs.end());
    return refs;
}

TEST(VaReferenceCases, ChunkedSearchMatchesPlainTranscription) {
    std::mt19937 rng(4711);
    const std::uint32_t bases[] = {kBase, 0x10000000u, 0x00000000u, 0x00FF0000u, 0x01000000u};
    for (int round = 0; round < 60; ++round) {
        const std::uint32_t base = bases[round % 5];
        const std::size_t size = 0x400 + rng() % 14000;
        const std::uint32_t rawSize = static_cast<std::uint32_t>(size - 0x400);
        std::string image = peImage(size, base, {{0x1000, rawSize + 0x100, 0x400, rawSize}});
        const std::uint32_t low = base + 0x1000;
        // Pointers at any alignment, zero runs of every length (also across
        // the 4096-byte boundaries), values just outside the range, noise.
        std::size_t at = 0x400;
        while (at + 8 < size) {
            switch (rng() % 5) {
            case 0: put32(image, at, low + rng() % (rawSize + 0x101)); at += 4; break;
            case 1: at += 1 + rng() % 9; break; // zeros
            case 2: put32(image, at, low - 1 - rng() % 3); at += 4; break;
            case 3: image[at] = static_cast<char>(rng() % 3); at += 1; break;
            default: image[at] = static_cast<char>(rng()); at += 1; break;
            }
        }
        const PeLayout layout = readPeLayout(image);
        RecordingReporter reporter;
        EXPECT_EQ(scanVaReferences(image, layout, reporter), plainReferences(image, layout))
            << "round " << round << " base " << std::hex << base;
    }
}

TEST(VaReferenceCases, ZeroRunsAndChunkBoundaries) {
    // Image base 0: in-range values below 0x10000 that end inside a zero run
    // are passed over; the first zero of a run and the chunk's last byte are
    // examined.
    std::string image = peImage(0x3000, 0, {{0x400, 0x2C00, 0x400, 0x2C00}});
    put32(image, 0x800, 0x00000900);  // 00 09 00 00: ends at the run's second zero -> passed over
    // A value whose last byte is the last byte of chunk 1 (position 4099 of the
    // 4099-byte chunk is file offset 0x1002): examined there once, although it
    // is the second zero of a run, and not again in chunk 2.
    put32(image, 0xFFF, 0x00000A00); // 00 0A 00 00 at 0xFFF..0x1002
    const PeLayout layout = readPeLayout(image);
    RecordingReporter reporter;
    const auto refs = scanVaReferences(image, layout, reporter);
    EXPECT_EQ(refs, plainReferences(image, layout));
    EXPECT_EQ(std::count(refs.begin(), refs.end(), 0x900), 0);
    EXPECT_EQ(std::count(refs.begin(), refs.end(), 0xA00), 1);
    EXPECT_EQ(reporter.maximums, std::vector<std::int64_t>{3});
}

// ---- String pass ----------------------------------------------------------------

struct StringPassCase {
    const char* name;
    std::string image;
    std::vector<std::int32_t> references;
    bool utf16;
    bool overlapFilter;
    std::string expected;
};

TEST(VaStringPassCases, Table) {
    const std::string text = std::string("\0Hello\0\0World\0", 14);
    const std::string wide = std::string("\0\0A\0B\0\0\0", 8);           // "AB" at 2, terminator found one byte early
    const std::string cut = std::string("\0\0A\0\0\x4E\0\0", 8);          // U+0041 U+4E00
    const std::string open = std::string("\0\0A\0B\0", 6);                // no zero pair at all
    const std::string oddEnd = std::string("\0\0A\0B\0C\0\0", 9);         // pair at the end, no byte after
    const StringPassCase cases[] = {
        {"each distinct string once, in order", text, {1, 1, 1, 8}, false, true, entry(1, "Hello") + entry(8, "World")},
        {"overlap filter skips a pointer into the middle", text, {1, 3}, false, true, entry(1, "Hello")},
        {"without the filter both", text, {1, 3}, false, false, entry(1, "Hello") + entry(3, "llo")},
        {"offset 0 is passed over", std::string("Hi\0", 3), {0}, false, true, ""},
        {"an ASCII string may run to the end", std::string("\0abc", 4), {1}, false, true, entry(1, "abc")},
        {"a failing candidate filters nothing", std::string("\0\x01xy\0", 5), {1, 2}, false, true, entry(2, "xy")},
        {"UTF-16 AB", wide, {2}, true, true, entry(2, "AB")},
        {"UTF-16 zero pair inside the string", cut, {2}, true, true, ""},
        {"UTF-16 without a zero pair", open, {2}, true, true, ""},
        {"UTF-16 odd length without a byte after the pair", oddEnd, {2}, true, true, ""},
        {"UTF-16 overlap counts UTF-16 bytes", wide, {2, 3, 4}, true, true, entry(2, "AB")},
        {"UTF-16 without the filter", wide, {2, 4}, true, false, entry(2, "AB") + entry(4, "B")},
    };
    for (const StringPassCase& c : cases) {
        ExtractionSettings settings = asciiSettings();
        settings.overlapFilter = c.overlapFilter;
        EntryBuffer out(settings);
        appendVaStrings(c.image, c.references, c.utf16, settings, out);
        EXPECT_EQ(out.bytes(), c.expected) << c.name;
    }
}

TEST(VaStringPassCases, DoubleByteTextInBothVariants) {
    const ExtractionSettings gbk = gbkSettings();
    EntryBuffer ansi(gbk);
    appendVaStrings(std::string("\0\x95\x5C\x41\0", 5), {1}, false, gbk, ansi);
    EXPECT_EQ(ansi.bytes(), entry(1, "\x95\x5C" "A"));
    EntryBuffer pairInside(gbk);
    appendVaStrings(std::string("\0\0\x41\0\x00\x4E\0\0", 8), {2}, true, gbk, pairInside);
    EXPECT_EQ(pairInside.bytes(), "");                 // the zero pair at 3..4 lies inside the string
    EntryBuffer wide(gbk);
    appendVaStrings(std::string("\0\0\x00\x4E\x41\0\0\0", 8), {2}, true, gbk, wide);
    EXPECT_EQ(wide.bytes(), entry(2, "\xD2\xBB" "A"));  // U+4E00 U+0041
}

// ---- Whole job on PE images ------------------------------------------------------

class VaJob : public ::testing::Test {
protected:
    JobStatus run(const std::string& image, ExtractionMode mode, const ExtractionSettings& settings) {
        writeBytes(program, image);
        ExtractionSettings s = settings;
        s.skipPeCheck = !isAddressBasedMode(mode);
        return runExtraction(program, output, true, mode, s, reporter);
    }
    ScratchFolder folder;
    std::filesystem::path program = folder / "p.exe";
    std::filesystem::path output = folder / "p.exe.a.txt";
    RecordingReporter reporter;
};

TEST_F(VaJob, PointerTablePushOperandAndStraddlingPointer) {
    std::string image = peImage(0x2400, kBase, {{0x1000, 0x2000, 0x400, 0x2000}});
    putText(image, 0x1800, std::string("Open\0Save\0Tail\0", 15));
    put32(image, 0x500, vaOf(0x1800));
    put32(image, 0x504, vaOf(0x1805));
    put32(image, 0x508, vaOf(0x1800));  // a second pointer to Open
    put32(image, 0x601, vaOf(0x1805));  // an operand at an odd position
    put32(image, 0xFFE, vaOf(0x180A));  // straddles the first 4096-byte boundary
    ASSERT_EQ(run(image, ExtractionMode::AsciiVa, asciiSettings()), JobStatus::Completed);
    EXPECT_EQ(readBytes(output), entry(0x1800, "Open") + entry(0x1805, "Save") + entry(0x180A, "Tail"));
    EXPECT_TRUE(hasHead(reporter.message(), kAsciiDoneHead)) << reporter.message();
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.position, 0);
}

TEST_F(VaJob, ImageBaseAboveSixteenMegabytesAndInclusiveBound) {
    const std::uint32_t base = 0x10000000u;
    std::string image = peImage(0x1500, base, {{0x1000, 0x1000, 0x400, 0x1000}});
    putText(image, 0x1000, std::string("Top\0", 4));
    putText(image, 0x1400, std::string("Max\0", 4));
    put32(image, 0x500, base + 0x1000 + 0x1000); // equals maxVA -> offset 0x1400, the end of the raw data
    put32(image, 0x504, base + 0x1000 + 0xC00);  // offset 0x1000
    put32(image, 0x508, base + 0x1000 + 0x1001); // above maxVA
    ASSERT_EQ(run(image, ExtractionMode::AsciiVa, asciiSettings()), JobStatus::Completed);
    EXPECT_EQ(readBytes(output), entry(0x1000, "Top") + entry(0x1400, "Max"));
}

TEST_F(VaJob, Utf16Variant) {
    std::string image = peImage(0x1400, kBase, {kText});
    putText(image, 0x800, std::string("A\0B\0\0\0", 6));
    put32(image, 0x500, vaOf(0x800));
    ASSERT_EQ(run(image, ExtractionMode::Utf16Va, asciiSettings()), JobStatus::Completed);
    EXPECT_EQ(readBytes(output), entry(0x800, "AB"));
    EXPECT_TRUE(hasHead(reporter.message(), kUtf16DoneHead)) << reporter.message();
}

TEST_F(VaJob, NoSectionsGivesNoEntries) {
    ASSERT_EQ(run(peImage(0x400, kBase, {}), ExtractionMode::AsciiVa, asciiSettings()), JobStatus::Completed);
    EXPECT_EQ(readBytes(output), "");
    EXPECT_TRUE(hasHead(reporter.message(), kAsciiDoneHead));
}

TEST_F(VaJob, RefusalsLeaveTheOutputAlone) {
    struct Case {
        const char* name;
        std::string image;
        std::string_view message;
    } cases[] = {
        {"64-bit image", peImage(0x1400, kBase, {kText}, 0x20B), kPe64Message},
        {"text file", "just text\n", kNotPeMessage},
        {"empty file", "", kNotPeMessage},
        {"one byte", "M", kNotPeMessage},
        {"MZ only", "MZ", kNotPeMessage},
        {"all 0xFF", std::string(0x200, '\xFF'), kNotPeMessage},
    };
    for (const Case& c : cases) {
        writeBytes(output, "keep me");
        RecordingReporter r;
        writeBytes(program, c.image);
        for (ExtractionMode mode : {ExtractionMode::AsciiVa, ExtractionMode::Utf16Va}) {
            ExtractionSettings s = asciiSettings();
            s.skipPeCheck = false;
            EXPECT_EQ(runExtraction(program, output, true, mode, s, r), JobStatus::Stopped) << c.name;
            EXPECT_EQ(r.message(), c.message) << c.name;
            EXPECT_EQ(readBytes(output), "keep me") << c.name;
        }
    }
    std::filesystem::remove(output);
    writeBytes(program, "text");
    ExtractionSettings s = asciiSettings();
    EXPECT_EQ(runExtraction(program, output, true, ExtractionMode::AsciiVa, s, reporter), JobStatus::Stopped);
    EXPECT_FALSE(std::filesystem::exists(output)) << "a refused job creates no output";
}

TEST_F(VaJob, BadImagesNeverCrash) {
    std::mt19937 rng(99);
    std::vector<std::string> images = {std::string(0x400, '\0'), peImage(0x1000, 0xFFFFFFFFu, {kText}),
                                       peImage(0x1000, 0x7FFFFFF0u, {{0x20, 0x7FFFFFFF, 0x400, 0xC00}})};
    for (int i = 0; i < 40; ++i) {
        // Headers with random fields, section counts and section records.
        std::string image = peImage(0x200 + rng() % 0x2000, static_cast<std::uint32_t>(rng()), {});
        put16(image, kHeader + 6, static_cast<std::uint16_t>(i % 4 == 0 ? 0xFFFF : rng() % 6));
        for (std::size_t at = kHeader + 248; at + 4 <= std::min<std::size_t>(image.size(), kHeader + 248 + 240); at += 4)
            put32(image, at, i % 2 ? static_cast<std::uint32_t>(rng()) : static_cast<std::uint32_t>(rng() % 0x3000));
        for (std::size_t at = kHeader + 500; at + 4 <= image.size(); at += 1 + rng() % 7)
            put32(image, at, static_cast<std::uint32_t>(rng()));
        images.push_back(image);
    }
    int round = 0;
    for (const std::string& image : images) {
        ++round;
        for (ExtractionMode mode : {ExtractionMode::AsciiVa, ExtractionMode::Utf16Va}) {
            ExtractionSettings s = round % 2 ? asciiSettings() : gbkSettings();
            RecordingReporter r;
            writeBytes(program, image);
            s.skipPeCheck = false;
            (void)runExtraction(program, output, true, mode, s, r);
            EXPECT_EQ(r.messages.size(), 1u);
        }
    }
}

} // namespace
} // namespace kestrin
