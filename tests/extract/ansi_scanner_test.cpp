// The streamed ANSI scanner against a plain transcription of the 4096-byte
// chunked procedure (pieces, pending candidate, split character), on fixtures
// and on many generated files fed in random block sizes.

#include "core/byte_text.h"
#include "core/file_io.h"
#include "extract/ansi_scanner.h"
#include "extract/char_classes.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"
#include "tests/extract/scanner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace kestrin::test {
namespace {

// ---- Plain transcription of the chunked procedure --------------------------

class ChunkedAnsiScan {
public:
    ChunkedAnsiScan(const std::string& file, const ExtractionSettings& s) : file_(file), s_(s) {}

    std::string run() {
        const std::size_t size = file_.size();
        const std::size_t chunks = size / 4096 + (size % 4096 != 0 ? 1 : 0);
        std::int64_t running = 0;
        for (std::size_t j = 0; j < chunks; ++j) {
            const bool last = j + 1 == chunks;
            const std::string chunk = file_.substr(j * 4096, 4096);
            nextFirst_ = last ? 0 : static_cast<unsigned char>(file_[(j + 1) * 4096]);
            const bool endsZero = chunk.back() == '\0';
            std::vector<std::string> pieces;
            std::size_t from = 0;
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                if (chunk[i] != '\0') continue;
                pieces.push_back(chunk.substr(from, i - from));
                from = i + 1;
            }
            if (!endsZero) pieces.push_back(chunk.substr(from));
            const std::size_t count = pieces.size();
            for (std::size_t k = 0; k < count; ++k) {
                std::string piece = pieces[k];
                const std::int64_t offset = running;
                const bool reachesEnd = k + 1 == count && !endsZero;
                running += static_cast<std::int64_t>(piece.size()) + 1;
                if (reachesEnd) running -= 1;
                const std::size_t n = piece.size();
                if (count > 1 && k == 0) {
                    if (n == 0) {
                        if (pending_) emit(pendingOffset_, pendingText_);
                    } else {
                        joinOrEmit(piece, offset, false, last);
                    }
                    pending_ = false;
                } else if (count > 1 && k + 1 < count) {
                    if (n != 0) {
                        std::int64_t runOffset = 0;
                        const std::string run = trailing(piece, offset, false, last, runOffset);
                        if (!run.empty()) emit(runOffset, run);
                    }
                } else if (count > 1) {
                    if (n == 0) continue;
                    std::int64_t runOffset = 0;
                    const std::string run = trailing(piece, offset, reachesEnd, last, runOffset);
                    if (endsZero) {
                        if (!run.empty()) emit(runOffset, run);
                    } else if (!run.empty()) {
                        pending_ = true;
                        pendingText_ = run;
                        pendingOffset_ = runOffset;
                    } else {
                        pending_ = false;
                    }
                } else if (!last && !endsZero) {
                    std::int64_t runOffset = 0;
                    const std::string run = trailing(piece, offset, true, last, runOffset);
                    if (run.size() == n) {
                        if (!pending_) {
                            pendingText_.clear();
                            pendingOffset_ = offset;
                        }
                        pendingText_ += run;
                        pending_ = true;
                    } else if (!run.empty()) {
                        pendingText_ = run;
                        pendingOffset_ = runOffset;
                        pending_ = true;
                    } else {
                        pending_ = false;
                    }
                } else if (!last) {
                    joinOrEmit(piece, offset, false, last);
                    pending_ = false;
                } else if (file_.back() != '\0') {
                    pending_ = false;
                } else {
                    if (n == 0) {
                        if (pending_) emit(pendingOffset_, pendingText_);
                    } else {
                        joinOrEmit(piece, offset, false, last);
                    }
                    pending_ = false;
                }
            }
        }
        return out_;
    }

private:
    void joinOrEmit(std::string& piece, std::int64_t offset, bool reachesEnd, bool last) {
        std::int64_t runOffset = 0;
        const std::string run = trailing(piece, offset, reachesEnd, last, runOffset);
        if (run.size() == piece.size() && pending_)
            emit(pendingOffset_, pendingText_ + run);
        else if (!run.empty())
            emit(runOffset, run);
    }

    std::string trailing(std::string& piece, std::int64_t offset, bool reachesEnd, bool last, std::int64_t& runOffset) {
        const std::size_t n = piece.size();
        std::size_t r = 0;
        std::size_t i = 0;
        auto byte = [&](std::size_t k) { return static_cast<unsigned char>(piece[k]); };
        if (s_.textClassMode == TextClassMode::AsciiOnly) {
            for (; i < n; ++i) r = isPrintableByte(byte(i)) ? r + 1 : 0;
        } else {
            if (n > 0) {
                if (split_ >= 0 && offset == split_ + 1) {
                    r = 1;
                    if (piece[0] == '\\') piece[0] = kTrailBackslashMarker;
                    i = 1;
                }
                split_ = -1;
            }
            while (i < n) {
                const unsigned char b = byte(i);
                if (isPrintableByte(b)) {
                    ++r;
                    ++i;
                } else if (b <= 0x80) {
                    r = 0;
                    ++i;
                } else if (i + 1 == n) {
                    if (reachesEnd && !last && isValidDoubleByte(b, nextFirst_, s_.doubleByteClass)) {
                        ++r;
                        split_ = offset + static_cast<std::int64_t>(i);
                    } else {
                        r = 0;
                    }
                    ++i;
                } else if (isValidDoubleByte(b, byte(i + 1), s_.doubleByteClass)) {
                    if (piece[i + 1] == '\\') piece[i + 1] = kTrailBackslashMarker;
                    r += 2;
                    i += 2;
                } else {
                    r = 0;
                    ++i;
                }
            }
        }
        runOffset = offset + static_cast<std::int64_t>(n - r);
        return piece.substr(n - r);
    }

    void emit(std::int64_t offset, std::string text) { out_ += makeEntry(numberToText(offset), text, s_); }

    const std::string& file_;
    const ExtractionSettings& s_;
    std::string out_;
    bool pending_ = false;
    std::string pendingText_;
    std::int64_t pendingOffset_ = 0;
    std::int64_t split_ = -1;
    unsigned char nextFirst_ = 0;
};

std::string chunkedScan(const std::string& file, const ExtractionSettings& s) { return ChunkedAnsiScan(file, s).run(); }

std::string streamedScan(const std::string& file, const ExtractionSettings& s, std::mt19937& random) {
    EntryBuffer out(s);
    AnsiStringFinder finder(s, out);
    std::size_t pos = 0;
    std::uniform_int_distribution<std::size_t> block(1, 9000);
    while (pos < file.size()) {
        const std::size_t n = std::min(block(random), file.size() - pos);
        finder.feed(std::string_view(file).substr(pos, n));
        pos += n;
    }
    return out.bytes();
}

std::string streamedScan(const std::string& file, const ExtractionSettings& s) {
    std::mt19937 random(7);
    return streamedScan(file, s, random);
}

// ---- Fixtures ------------------------------------------------------------

TEST(AnsiScanner, FixturesGiveTheTrailingRunOfEveryTerminatedPiece) {
    const std::string chunkEdge = std::string(3999, 'x') + '\0' + std::string(5000, 'y') + '\0';
    std::string splitGbk(4096 + 10, 'z');
    splitGbk[4090] = '\0';
    splitGbk[4095] = '\xB0'; // lead byte ends the first chunk, trail opens the second
    splitGbk[4096] = '\xA1';
    splitGbk[4105] = '\0';
    struct Case {
        const char* name;
        std::string file;
        ExtractionSettings settings;
        std::string expected;
    } cases[] = {
        {"unterminated end gives nothing", std::string("Hello\0World", 11), plainText(2), entry(0, "Hello")},
        {"string over three chunks", chunkEdge, plainText(2),
         entry(0, std::string(3999, 'x')) + entry(4000, std::string(5000, 'y'))},
        {"control byte at the end of a piece", std::string(4090, 'a') + std::string("bcdef\x01\0", 7), plainText(2), ""},
        {"split character stays whole", splitGbk, mixedText(2, 2),
         entry(0, std::string(4090, 'z')) + entry(4091, "zzzz\xB0\xA1zzzzzzzz")},
        {"invalid pair restarts after the lead", std::string("\x41\xB0\x30\x43\0", 5), mixedText(1, 2), entry(2, "0C")},
        {"backslash trail stays single", std::string("\x95\x5C\x41\0", 4), mixedText(2, 2), entry(0, "\x95\\A")},
        {"plain text after a high byte", std::string("ab\x81xyz\0", 7), plainText(2), entry(3, "xyz")},
        {"zero at a multiple of 4096", std::string(4095, 'q') + '\0', plainText(2), entry(0, std::string(4095, 'q'))},
        {"empty file", "", plainText(1), ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chunkedScan(c.file, c.settings), c.expected);
        EXPECT_EQ(streamedScan(c.file, c.settings), c.expected);
    }
}

// ---- Generated files -----------------------------------------------------

std::string generatedFile(std::mt19937& random, std::size_t size) {
    static const char bytes[] = "\0\0\0\0\x01\x7F\x80\x81\xB0\xA1\xD7\xFA\xA4\xA0\x40\x7E\x5C\\\"\t\r\nAbz09 .";
    static const std::string alphabet(bytes, sizeof bytes - 1);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> style(0, 9);
    std::uniform_int_distribution<int> any(0, 255);
    std::string file;
    file.reserve(size);
    while (file.size() < size) {
        const int s = style(random);
        const std::size_t run = std::uniform_int_distribution<std::size_t>(1, s == 0 ? 6000 : 40)(random);
        for (std::size_t i = 0; i < run && file.size() < size; ++i) {
            if (s <= 1) file.push_back(static_cast<char>('a' + i % 26));
            else if (s <= 3) file.push_back(static_cast<char>(any(random)));
            else file.push_back(alphabet[pick(random)]);
        }
    }
    return file;
}

TEST(AnsiScanner, StreamedScanEqualsChunkedProcedureOnGeneratedFiles) {
    std::mt19937 random(20151028);
    std::vector<ExtractionSettings> settings = {plainText(1), plainText(3), mixedText(1, 1), mixedText(2, 2),
                                                mixedText(3, 1)};
    settings[3].escapeQuotes = true;
    settings[4].junkFilter = true;
    ExtractionSettings requireDouble = mixedText(2, 1);
    requireDouble.requireDoubleByte = true;
    settings.push_back(requireDouble);
    for (int round = 0; round < 120; ++round) {
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 20000)(random);
        const std::string file = generatedFile(random, size);
        for (const auto& s : settings) {
            SCOPED_TRACE("round " + std::to_string(round) + ", size " + std::to_string(size));
            ASSERT_EQ(streamedScan(file, s, random), chunkedScan(file, s));
        }
    }
}

TEST(AnsiScanner, LongStretchesWithoutBreaksKeepOnlyTheirRun) {
    // More than a megabyte of double-byte text, an invalid pair and a lead
    // byte left open at the end of a feed: the streamed scan trims what it
    // keeps and still gives the chunked result.
    std::string text;
    for (int i = 0; i < 700000; ++i) text += (i % 1000 == 999) ? std::string("\x81\x30") : std::string("\xB0\xA1");
    const std::string file = "ab" + text + '\0' + text + "\x95\x5C" + '\0' + text;
    for (const auto& s : {mixedText(2, 2), mixedText(1, 2), plainText(2)}) {
        std::mt19937 random(3);
        EntryBuffer out(s);
        AnsiStringFinder finder(s, out);
        for (std::size_t pos = 0; pos < file.size();) {
            const std::size_t n = std::min<std::size_t>(file.size() - pos, 65535 + random() % 3);
            finder.feed(std::string_view(file).substr(pos, n));
            pos += n;
        }
        EXPECT_EQ(out.bytes(), chunkedScan(file, s));
    }
}

// ---- The job -------------------------------------------------------------

TEST(AnsiScanner, JobWritesEntriesAndReportsChunks) {
    ScratchFolder folder;
    const std::string file = std::string(5000, 'k') + '\0' + "xy" + '\0';
    writeBytes(folder / "p.bin", file);
    RecordingReporter reporter;
    EXPECT_EQ(scanAnsiWholeFile(folder / "p.bin", folder / "out.txt", plainText(2), reporter), JobStatus::Completed);
    EXPECT_EQ(readBytes(folder / "out.txt"), entry(0, std::string(5000, 'k')) + entry(5001, "xy"));
    EXPECT_EQ(reporter.maximums, std::vector<std::int64_t>{2});
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.message().rfind(std::string(kAsciiDoneHead), 0), 0u);
    EXPECT_EQ(reporter.position, 0);
}

TEST(AnsiScanner, JobWritesLargeOutputsInPiecesAndKeepsTheOldOneOnFailure) {
    // About 13 MB of entries: written out in several pieces during the scan.
    ScratchFolder folder;
    std::string file;
    for (int i = 0; file.size() < (std::size_t{10} << 20); ++i)
        file += "string number " + std::to_string(i) + (i % 7 == 0 ? "\\\t\"" : "") + '\0';
    writeBytes(folder / "p.bin", file);
    const ExtractionSettings s = mixedText(2, 2);
    EntryBuffer expected(s);
    AnsiStringFinder finder(s, expected);
    finder.feed(file);

    RecordingReporter reporter;
    EXPECT_EQ(scanAnsiWholeFile(folder / "p.bin", folder / "out.txt", s, reporter), JobStatus::Completed);
    EXPECT_EQ(readBytes(folder / "out.txt"), expected.bytes());

    // A write that fails after the first piece: the old output stays, with
    // no temporary file beside it.
    writeBytes(folder / "out.txt", "old");
    int writes = 0;
    setWriteFaultHook([&writes](WriteStage stage, const std::filesystem::path&) {
        return stage != WriteStage::Write || ++writes < 2;
    });
    RecordingReporter failing;
    EXPECT_EQ(scanAnsiWholeFile(folder / "p.bin", folder / "out.txt", s, failing), JobStatus::Stopped);
    setWriteFaultHook(nullptr);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(failing.messages, std::vector<std::string>{writeFailedMessage(folder / "out.txt")});
    EXPECT_EQ(readBytes(folder / "out.txt"), "old");
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(AnsiScanner, UnreadableProgramLeavesOutputUntouched) {
    ScratchFolder folder;
    writeBytes(folder / "out.txt", "old");
    RecordingReporter reporter;
    EXPECT_EQ(scanAnsiWholeFile(folder / "missing.bin", folder / "out.txt", plainText(2), reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), programReadFailedMessage(folder / "missing.bin"));
    EXPECT_EQ(readBytes(folder / "out.txt"), "old");
}

} // namespace
} // namespace kestrin::test
