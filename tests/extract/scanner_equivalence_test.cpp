// The fast scanners against plain transcriptions of their procedures, step by
// step with positions counted from 1, on many generated files. The fast ones
// search with 16-byte blocks, read some runs backwards, look units up in a
// table and skip candidates below the minimum length; none of that may change
// a single byte of the result or a progress step.

#include "core/byte_text.h"
#include "extract/char_classes.h"
#include "extract/delphi_scanner.h"
#include "extract/entry_emission.h"
#include "extract/utf16_scanner.h"
#include "extract/utf8_scanner.h"
#include "extract/vb_scanner.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kestrin {
namespace {

// A file image with positions from 1, as the procedures count them.
class Image {
public:
    explicit Image(const std::string& bytes) : bytes_(bytes), size_(static_cast<std::int64_t>(bytes.size())) {}
    std::int64_t size() const { return size_; }
    unsigned at(std::int64_t i) const { return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(i - 1)]); }
    std::string part(std::int64_t start, std::int64_t n) const {
        return bytes_.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
    }
    // First position >= from holding a zero byte, or -1.
    std::int64_t findZero(std::int64_t from) const {
        for (std::int64_t i = from; i <= size_; ++i)
            if (at(i) == 0) return i;
        return -1;
    }
    // First position t >= from with zero bytes at t and t + 1, or -1.
    std::int64_t findPair(std::int64_t from) const {
        for (std::int64_t i = std::max<std::int64_t>(from, 1); i + 1 <= size_; ++i)
            if (at(i) == 0 && at(i + 1) == 0) return i;
        return -1;
    }

private:
    const std::string& bytes_;
    std::int64_t size_;
};

struct Outcome {
    std::string entries;
    std::int64_t maximum = 0;
    std::int64_t steps = 0;
    bool operator==(const Outcome&) const = default;
};

// Progress by 4096-byte blocks.
struct Blocks {
    Outcome& outcome;
    std::int64_t threshold = 4096;
    void step(std::int64_t terminator) {
        if (terminator >= threshold) {
            ++outcome.steps;
            threshold += 4096;
        }
    }
};

void emit(Outcome& out, std::int64_t position, std::string candidate, const ExtractionSettings& settings) {
    out.entries += makeEntry(numberToText(position - 1), candidate, settings);
}

std::string unitAt(const std::string& piece, std::int64_t i) { return piece.substr(static_cast<std::size_t>(i - 1), 2); }

std::string plainUtf16Run(std::string piece, std::int64_t& s, const ExtractionSettings& settings) {
    std::int64_t n = static_cast<std::int64_t>(piece.size());
    std::int64_t i = 1;
    std::int64_t run = 0;
    if (settings.textClassMode == TextClassMode::AsciiOnly) {
        while (i <= n) {
            if (i == n) return {};
            if (isPrintableUnit(unitAt(piece, i))) {
                run += 2;
                i += 2;
            } else {
                run = 0;
                i += 1;
            }
        }
        if (run == 0) return {};
        std::string result;
        for (std::int64_t k = n - run + 1; k <= n; k += 2) result.push_back(piece[static_cast<std::size_t>(k - 1)]);
        s = s + n - run;
        return result;
    }
    if (settings.textClassMode != TextClassMode::Mixed) return {};
    std::string accumulator;
    while (i <= n) {
        if (i == n) {
            if (piece[static_cast<std::size_t>(i - 1)] != 0) return {};
            n -= 1;
            break;
        }
        const std::string unit = unitAt(piece, i);
        if (isPrintableUnit(unit)) {
            accumulator.push_back(unit[0]);
            run += 2;
            i += 2;
            continue;
        }
        const std::string converted = convertUnitToDoubleByte(unit, settings);
        if (!converted.empty()) {
            accumulator += converted;
            run += 2;
            i += 2;
        } else {
            accumulator.clear();
            run = 0;
            i += 1;
        }
    }
    if (run == 0) return {};
    s = s + n - run;
    return accumulator;
}

Outcome plainUtf16Scan(const std::string& bytes, const ExtractionSettings& settings) {
    const Image img(bytes);
    const std::int64_t L = img.size();
    Outcome out;
    out.maximum = L / 4096 + (L % 4096 != 0 ? 1 : 0);
    Blocks blocks{out};
    std::int64_t p = 1;
    for (;;) {
        while (p < L && img.at(p) == 0) ++p;
        std::int64_t s = p;
        std::int64_t from = p;
        if (settings.textClassMode == TextClassMode::AsciiOnly) {
            const std::int64_t z = img.findZero(p);
            if (z == -1 || z == L) break;
            if (img.at(z + 1) == 0) {
                p = z;
                continue;
            }
            s = z - 1;
            from = z;
        }
        const std::int64_t t = img.findPair(from);
        if (t == -1) break;
        const std::int64_t n = t - s + (t + 2 <= L && img.at(t + 2) == 0 ? 1 : 0);
        const std::string result = plainUtf16Run(img.part(s, n), s, settings);
        if (!result.empty()) emit(out, s, result, settings);
        blocks.step(t);
        p = t;
    }
    return out;
}

std::string plainUtf8Run(const std::string& segment, std::int64_t& s, const ExtractionSettings& settings) {
    if (settings.textClassMode != TextClassMode::Mixed) return {};
    const std::int64_t n = static_cast<std::int64_t>(segment.size());
    const auto byte = [&](std::int64_t i) { return static_cast<unsigned char>(segment[static_cast<std::size_t>(i - 1)]); };
    std::string accumulator;
    std::int64_t count = 0;
    std::int64_t i = 1;
    while (i <= n) {
        if (i == n) {
            if (!isPrintableByte(byte(i))) return {};
            accumulator.push_back(static_cast<char>(byte(i)));
            count += 1;
            break;
        }
        if (isPrintableByte(byte(i))) {
            accumulator.push_back(static_cast<char>(byte(i)));
            count += 1;
            i += 1;
        } else if (byte(i) >= 0xE0 && byte(i) <= 0xFE) {
            if (i + 2 > n) return {};
            const bool inRange = byte(i + 1) >= 0x80 && byte(i + 1) <= 0xFE && byte(i + 2) >= 0x80 && byte(i + 2) <= 0xFE;
            const std::string converted = inRange ? convertUtf8Sequence(byte(i), byte(i + 1), byte(i + 2), settings) : "";
            if (converted.size() == 2) {
                accumulator += converted;
                count += 3;
                i += 3;
            } else {
                accumulator.clear();
                count = 0;
                i += 1;
            }
        } else {
            accumulator.clear();
            count = 0;
            i += 1;
        }
    }
    if (count == 0) return {};
    s = s + n - count;
    return accumulator;
}

Outcome plainUtf8Scan(const std::string& bytes, const ExtractionSettings& settings) {
    const Image img(bytes);
    const std::int64_t L = img.size();
    Outcome out;
    out.maximum = L / 4096 + (L % 4096 != 0 ? 1 : 0);
    Blocks blocks{out};
    std::int64_t p = 1;
    for (;;) {
        while (p < L && img.at(p) == 0) ++p;
        std::int64_t s = p;
        const std::int64_t z = img.findZero(s);
        if (z == -1 || z == L) break;
        const std::string result = plainUtf8Run(img.part(s, z - s), s, settings);
        if (!result.empty()) emit(out, s, result, settings);
        blocks.step(z);
        p = z;
    }
    return out;
}

std::int32_t signed32(const Image& img, std::int64_t position) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | (position + k <= img.size() ? img.at(position + k) : 0u);
    return static_cast<std::int32_t>(v);
}

std::int64_t findMarker(const Image& img, std::int64_t from) {
    for (std::int64_t h = from; h + 3 <= img.size(); ++h)
        if (img.at(h) == 0xFF && img.at(h + 1) == 0xFF && img.at(h + 2) == 0xFF && img.at(h + 3) == 0xFF) return h;
    return -1;
}

// Pass 2 of the header scanners: validate each candidate, one step each.
template <typename Validate>
Outcome writeCandidates(const Image& img, const std::vector<std::pair<std::int64_t, std::int64_t>>& list,
                        std::int64_t bytesPerChar, Validate validate, const ExtractionSettings& settings) {
    Outcome out;
    out.maximum = static_cast<std::int64_t>(list.size());
    for (const auto& [t, n] : list) {
        const std::string result = validate(img.part(t, bytesPerChar * n), settings);
        if (!result.empty()) emit(out, t, result, settings);
        ++out.steps;
    }
    return out;
}

Outcome plainDelphiAsciiScan(const std::string& bytes, const ExtractionSettings& settings) {
    const Image img(bytes);
    std::vector<std::pair<std::int64_t, std::int64_t>> list;
    for (std::int64_t p = 1;;) {
        const std::int64_t h = findMarker(img, p);
        if (h == -1) break;
        const std::int64_t n = signed32(img, h + 4);
        const std::int64_t t = h + 8;
        p = h + 4;
        const std::int64_t zero = img.findZero(t);
        if (zero == -1) break;
        if (zero == t + n) list.emplace_back(t, n);
    }
    return writeCandidates(img, list, 1, validateAnsiCandidate, settings);
}

Outcome plainDelphiUtf16Scan(const std::string& bytes, const ExtractionSettings& settings) {
    const Image img(bytes);
    std::vector<std::pair<std::int64_t, std::int64_t>> list;
    for (std::int64_t p = 1;;) {
        const std::int64_t h = findMarker(img, p);
        if (h == -1) break;
        const std::int64_t n = signed32(img, h + 4);
        const std::int64_t t = h + 8;
        p = h + 8;
        const std::int64_t e = t + 2 * n;
        if (n < 0 || e < 1 || e + 1 > img.size() || img.at(e) != 0 || img.at(e + 1) != 0) continue;
        const std::int64_t pair = img.findPair(t);
        if (pair == e - 1 || pair == e) list.emplace_back(t, n);
    }
    return writeCandidates(img, list, 2, convertUtf16Candidate, settings);
}

Outcome plainVbScan(const std::string& bytes, const ExtractionSettings& settings) {
    const Image img(bytes);
    const std::int64_t L = img.size();
    const auto byteAt = [&](std::int64_t i) { return i >= 1 && i <= L ? img.at(i) : 0u; };
    std::vector<std::pair<std::int64_t, std::int64_t>> list;
    for (std::int64_t p = 1;;) {
        const std::int64_t m = img.findPair(p);
        if (m == -1) break;
        std::int64_t n = 0;
        std::int64_t t = 0;
        if (m + 2 <= L && img.at(m + 2) == 0) {
            n = byteAt(m - 1);
            t = m + 3;
        } else {
            n = m == 2 ? byteAt(1) : byteAt(m - 2) | (byteAt(m - 1) << 8);
            t = m + 2;
        }
        p = t;
        if (m == 1) continue;
        const bool emptyUnit = settings.textClassMode == TextClassMode::AsciiOnly
                                   ? byteAt(t) == 0
                                   : byteAt(t) == 0 && byteAt(t + 1) == 0;
        if (emptyUnit || n % 2 != 0) continue;
        const std::int64_t e = t + n;
        if (e + 1 > L || img.at(e) != 0 || img.at(e + 1) != 0) continue;
        const std::int64_t pair = img.findPair(t);
        if (pair == e - 1 || pair == e) list.emplace_back(t, n);
    }
    return writeCandidates(img, list, 1, convertUtf16Candidate, settings);
}

template <typename Search>
Outcome fastScan(Search search, const std::string& bytes, const ExtractionSettings& settings) {
    test::RecordingReporter reporter;
    EntryBuffer entries(settings);
    search(bytes, settings, entries, reporter);
    Outcome out;
    out.entries = entries.bytes();
    out.maximum = reporter.maximums.empty() ? -1 : reporter.maximums.back();
    out.steps = reporter.position;
    return out;
}

// The same search reading the file in blocks of the given size.
template <typename Search>
Outcome streamedScan(Search search, const std::filesystem::path& path, std::size_t block,
                     const ExtractionSettings& settings) {
    auto file = StreamedFile::open(path, block);
    if (!file) return {};
    test::RecordingReporter reporter;
    EntryBuffer entries(settings);
    search(*file, settings, entries, reporter);
    Outcome out;
    out.entries = file->intact() ? entries.bytes() : "(read failed)";
    out.maximum = reporter.maximums.empty() ? -1 : reporter.maximums.back();
    out.steps = reporter.position;
    return out;
}

// Files built from fragments that put the scanners' boundaries close
// together: zero runs of every length, printable and refused units at both
// alignments, Chinese in UTF-16 and UTF-8, GBK with backslash trail bytes,
// markers and length fields, odd bytes.
std::string generatedFile(std::mt19937& rng, std::size_t approximateSize) {
    static const std::vector<std::string> fragments = {
        std::string("\0", 1), std::string("\0\0", 2), std::string("\0\0\0", 3), std::string(5, '\0'),
        "A", "Hi", "a\\b", "\t", "\r\n", "\"", "\x7F", "\x80", "\x01", "\xFF",
        std::string("A\0", 2), std::string("B\0C\0", 4), std::string("\x01\0", 2),
        "\x2D\x4E", "\x87\x65", "\x58\x41", std::string("\0\x4E", 2), std::string("\xE9\0", 2), "\x5C\x81",
        "\x95\x5C", "\xB0\xA1", "\xD7\xFA", "\xA4\x40", "\xA1",
        "\xE4\xB8\xAD", "\xE6\x96\x87", "\xE4\xB8", "\xC3\xA9", "\xED\xA0\x80", "\xE0\x80\x80", "\xF0\x9F\x98\x80",
        "\xE4\xB9\x97",  // U+4E57, a GBK character with a 0x5C trail byte
        std::string("\xFF\xFF\xFF\xFF", 4), std::string("\x02\0\0\0", 4), std::string("\x03\0\0\0", 4),
        std::string("\x04\0\0\0", 4), std::string("\0\x01\0\0", 4), std::string("\xFE\xFF\xFF\xFF", 4),
        std::string("\xFF\xFF\xFF\xFF\x02\0\0\0AB\0", 11),
        std::string("\xFF\xFF\xFF\xFF\x02\0\0\0A\0\x2D\x4E\0\0", 14),
        std::string("\x04\0\0\0A\0\x2D\x4E\0\0", 10),
    };
    std::string out;
    while (out.size() < approximateSize) {
        if (rng() % 16 == 0) {
            out.push_back(static_cast<char>(rng()));
        } else {
            out += fragments[rng() % fragments.size()];
        }
    }
    return out;
}

std::vector<ExtractionSettings> settingsToTry() {
    std::vector<ExtractionSettings> all;
    ExtractionSettings plain;
    plain.textClassMode = TextClassMode::AsciiOnly;
    plain.minLength = 1;
    all.push_back(plain);
    for (int cls = 1; cls <= 3; ++cls) {
        ExtractionSettings mixed = plain;
        mixed.textClassMode = TextClassMode::Mixed;
        mixed.doubleByteClass = static_cast<std::uint8_t>(cls);
        all.push_back(mixed);
    }
    ExtractionSettings longer = all[2];
    longer.minLength = 3;
    longer.escapeQuotes = true;
    all.push_back(longer);
    return all;
}

TEST(ScannerEquivalence, FastScannersMatchPlainTranscriptionsOnGeneratedFiles) {
    std::mt19937 rng(4096);
    const std::vector<ExtractionSettings> settings = settingsToTry();
    for (int round = 0; round < 1500; ++round) {
        // Mostly small files; some cross several 4096-byte progress blocks.
        const std::size_t size = round % 50 == 0 ? 9000 + rng() % 4000 : rng() % 200;
        const std::string bytes = generatedFile(rng, size);
        for (const ExtractionSettings& s : settings) {
            const std::string where = "round " + std::to_string(round) + ", class mode " +
                                      std::to_string(static_cast<int>(s.textClassMode)) + ", class " +
                                      std::to_string(s.doubleByteClass);
            ASSERT_EQ(fastScan(searchUtf16Strings, bytes, s), plainUtf16Scan(bytes, s)) << "UTF-16, " << where;
            ASSERT_EQ(fastScan(searchUtf8Strings, bytes, s), plainUtf8Scan(bytes, s)) << "UTF-8, " << where;
            ASSERT_EQ(fastScan(searchDelphiAscii, bytes, s), plainDelphiAsciiScan(bytes, s)) << "Delphi, " << where;
            ASSERT_EQ(fastScan(searchDelphiUtf16, bytes, s), plainDelphiUtf16Scan(bytes, s)) << "Delphi UTF-16, " << where;
            ASSERT_EQ(fastScan(searchVbStrings, bytes, s), plainVbScan(bytes, s)) << "VB, " << where;
        }
    }
}

TEST(ScannerEquivalence, StreamedScansMatchTheImageScansWithAnyBlockSize) {
    // The search reading the file block by block, blocks down to one byte:
    // strings, zero runs and zero pairs across every kind of block boundary.
    std::mt19937 rng(1611);
    const std::vector<ExtractionSettings> settings = settingsToTry();
    const std::size_t blocks[] = {1, 2, 3, 7, 16, 17, 4096};
    test::ScratchFolder folder;
    const auto path = folder / "p.bin";
    for (int round = 0; round < 350; ++round) {
        const std::size_t size = round % 25 == 0 ? 9000 + rng() % 4000 : rng() % 300;
        const std::string bytes = generatedFile(rng, size);
        test::writeBytes(path, bytes);
        const std::size_t block = blocks[round % 7];
        for (const ExtractionSettings& s : settings) {
            const std::string where =
                "round " + std::to_string(round) + ", block " + std::to_string(block) + ", class " +
                std::to_string(s.doubleByteClass);
            ASSERT_EQ(streamedScan(streamUtf16Strings, path, block, s), fastScan(searchUtf16Strings, bytes, s))
                << "UTF-16, " << where;
            ASSERT_EQ(streamedScan(streamUtf8Strings, path, block, s), fastScan(searchUtf8Strings, bytes, s))
                << "UTF-8, " << where;
        }
    }
}

TEST(ScannerEquivalence, BadInputGivesThePlainResultWithoutCrashing) {
    struct Input {
        const char* name;
        std::string bytes;
        bool nothingExpected;
    };
    const std::string ff4("\xFF\xFF\xFF\xFF", 4);
    const std::vector<Input> inputs = {
        {"empty", "", true},
        {"one zero byte", std::string(1, '\0'), true},
        {"one letter", "A", true},
        {"one 0xFF", "\xFF", true},
        {"odd length UTF-16", std::string("A\0B\0C\0\0", 7), false},
        {"all zeros", std::string(4097, '\0'), true},
        {"all 0xFF", std::string(4099, '\xFF'), true},
        {"marker at the very end", "AB" + ff4, true},
        {"marker and a short length field", ff4 + std::string("\x02\0", 2), true},
        {"Delphi length past the end", ff4 + std::string("\x10\0\0\0AB\0\0", 8), false},
        {"Delphi length 0x7FFFFFFF", ff4 + std::string("\xFF\xFF\xFF\x7F" "AB\0\0\0", 9), false},
        {"Delphi length -0x80000000", ff4 + std::string("\0\0\0\x80" "AB\0\0\0", 9), false},
        {"VB length past the end", std::string("\xFE\xFF\0\0A\0\0\0", 8), false},
        {"zero pair as the last two bytes", std::string("AB\0\0", 4), false},
    };
    for (const ExtractionSettings& s : settingsToTry()) {
        for (const Input& in : inputs) {
            const Outcome utf16 = fastScan(searchUtf16Strings, in.bytes, s);
            const Outcome utf8 = fastScan(searchUtf8Strings, in.bytes, s);
            const Outcome delphi = fastScan(searchDelphiAscii, in.bytes, s);
            const Outcome delphiUtf16 = fastScan(searchDelphiUtf16, in.bytes, s);
            const Outcome vb = fastScan(searchVbStrings, in.bytes, s);
            EXPECT_EQ(utf16, plainUtf16Scan(in.bytes, s)) << in.name;
            EXPECT_EQ(utf8, plainUtf8Scan(in.bytes, s)) << in.name;
            EXPECT_EQ(delphi, plainDelphiAsciiScan(in.bytes, s)) << in.name;
            EXPECT_EQ(delphiUtf16, plainDelphiUtf16Scan(in.bytes, s)) << in.name;
            EXPECT_EQ(vb, plainVbScan(in.bytes, s)) << in.name;
            if (in.nothingExpected) {
                EXPECT_EQ(utf16.entries + utf8.entries + delphi.entries + delphiUtf16.entries + vb.entries, "")
                    << in.name;
            }
        }
    }
}

TEST(ScannerEquivalence, TrailingRunsMatchOnEveryShortPiece) {
    // Every piece of up to three bytes over a small alphabet, and random longer
    // ones: the run functions on their own, start offsets included.
    const std::string alphabet("\x00\x41\x4E\x2D\xE4\xB8\xAD\x80\xFF\x5C\x95", 11);
    std::vector<std::string> pieces = {""};
    for (int len = 1; len <= 3; ++len) {
        std::vector<std::string> longer;
        for (const std::string& p : pieces)
            if (static_cast<int>(p.size()) == len - 1)
                for (char c : alphabet) longer.push_back(p + c);
        pieces.insert(pieces.end(), longer.begin(), longer.end());
    }
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) pieces.push_back(generatedFile(rng, rng() % 24));
    for (const ExtractionSettings& s : settingsToTry()) {
        for (const std::string& piece : pieces) {
            std::int64_t fastStart = 10;
            std::int64_t plainStart = 11;  // positions from 1
            ASSERT_EQ(extractUtf16TrailingRun(piece, fastStart, s), plainUtf16Run(piece, plainStart, s));
            ASSERT_EQ(fastStart + 1, plainStart);
            fastStart = 10;
            plainStart = 11;
            ASSERT_EQ(extractUtf8Run(piece, fastStart, s), plainUtf8Run(piece, plainStart, s));
            ASSERT_EQ(fastStart + 1, plainStart);
        }
    }
}

} // namespace
} // namespace kestrin
