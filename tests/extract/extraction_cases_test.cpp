// Cases for the extraction settings rules, the character classes, the entry
// layout, the streamed ANSI whole-file scanner (against a plain unchunked
// transcription), the job's messages and the extract command.

#include "core/file_io.h"
#include "extract/ansi_scanner.h"
#include "extract/char_classes.h"
#include "extract/entry_emission.h"
#include "extract/extraction_job.h"
#include "extract/extraction_messages.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"
#include "extract/utf16_scanner.h"
#include "tests/extract/scanner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kestrin {
namespace {

using test::entry;
using test::readBytes;
using test::RecordingReporter;
using test::runCli;
using test::ScratchFolder;
using test::writeBytes;

ExtractionSettings classSettings(TextClassMode mode, int doubleByteClass, std::int32_t minLength = 1) {
    ExtractionSettings s;
    s.textClassMode = mode;
    s.doubleByteClass = static_cast<std::uint8_t>(doubleByteClass);
    s.minLength = minLength;
    return s;
}
const ExtractionSettings kAscii = classSettings(TextClassMode::AsciiOnly, 0);
const ExtractionSettings kGb2312 = classSettings(TextClassMode::Mixed, kGb2312Class);
const ExtractionSettings kGbk = classSettings(TextClassMode::Mixed, kGbkClass);
const ExtractionSettings kBig5 = classSettings(TextClassMode::Mixed, kBig5Class);

bool hasHead(const std::string& message, std::string_view head) {
    return message.rfind(head, 0) == 0 && message.size() > head.size() + kDoneTail.size() &&
           message.compare(message.size() - kDoneTail.size(), kDoneTail.size(), kDoneTail) == 0;
}

// ---- Settings rules -----------------------------------------------------------

TEST(ExtractionSettingsCases, ClassBoxClicksFollowThePanelRules) {
    ExtractionSettings s;
    ClassBoxStates boxes{true, false, true, false};
    // GBK on with plain English on: the other two classes grey out, the junk
    // box stays usable, the minimum follows the mixed box.
    ClassBoxEffect e = applyClassBoxClick(GbkBox, boxes, "4", "7", s);
    EXPECT_EQ(s.textClassMode, TextClassMode::Mixed);
    EXPECT_EQ(s.doubleByteClass, kGbkClass);
    EXPECT_EQ(s.minLength, 7);
    EXPECT_FALSE(s.requireDoubleByte);
    EXPECT_EQ(e.classBoxEnabled[Gb2312Box], std::optional<bool>(false));
    EXPECT_EQ(e.classBoxEnabled[Big5Box], std::optional<bool>(false));
    EXPECT_EQ(e.junkBoxEnabled, std::optional<bool>(true));

    // Plain English off: junk box greys out, all-ASCII strings are dropped.
    boxes[PlainEnglishBox] = false;
    e = applyClassBoxClick(PlainEnglishBox, boxes, "4", "9", s);
    EXPECT_EQ(s.textClassMode, TextClassMode::Mixed);
    EXPECT_EQ(s.minLength, 9);
    EXPECT_TRUE(s.requireDoubleByte);
    EXPECT_EQ(e.junkBoxEnabled, std::optional<bool>(false));

    // GBK off while plain English is off: the other classes come back, the
    // record stays.
    boxes[GbkBox] = false;
    const ExtractionSettings before = s;
    e = applyClassBoxClick(GbkBox, boxes, "4", "9", s);
    EXPECT_EQ(e.classBoxEnabled[Gb2312Box], std::optional<bool>(true));
    EXPECT_EQ(e.classBoxEnabled[Big5Box], std::optional<bool>(true));
    EXPECT_EQ(s.textClassMode, before.textClassMode);
    EXPECT_EQ(s.requireDoubleByte, before.requireDoubleByte);
    EXPECT_EQ(s.minLength, before.minLength);
    EXPECT_FALSE(anyClassBoxOn(boxes)); // the job refuses in this state

    // Plain English back on: AsciiOnly with the plain-English minimum; the
    // double-byte class keeps its last value.
    boxes[PlainEnglishBox] = true;
    e = applyClassBoxClick(PlainEnglishBox, boxes, "4", "9", s);
    EXPECT_EQ(s.textClassMode, TextClassMode::AsciiOnly);
    EXPECT_EQ(s.minLength, 4);
    EXPECT_FALSE(s.requireDoubleByte);
    EXPECT_EQ(s.doubleByteClass, kGbkClass);
    EXPECT_EQ(e.junkBoxEnabled, std::optional<bool>(true));

    // BIG5 on with plain English off, then off: nothing changes in the record.
    ExtractionSettings t;
    ClassBoxStates only{false, false, false, true};
    applyClassBoxClick(Big5Box, only, "", "", t);
    EXPECT_EQ(t.doubleByteClass, kBig5Class);
    EXPECT_TRUE(t.requireDoubleByte);
    EXPECT_EQ(t.minLength, 0); // an empty box reads 0
}

TEST(ExtractionSettingsCases, MinimumLengthBoxes) {
    EXPECT_FALSE(minLengthBoxAcceptsCharacter(U'-'));
    EXPECT_TRUE(minLengthBoxAcceptsCharacter(U'5'));
    const std::pair<const char*, const char*> changed[] = {
        {"0", ""}, {"3000", "2048"}, {"2048", "2048"}, {"2049", "2048"}, {"12", "12"}, {"", ""}, {"00", "00"}};
    for (const auto& [typed, shown] : changed) EXPECT_EQ(minLengthTextChanged(typed), shown) << typed;

    ExtractionSettings s; // AsciiOnly, minimum 2
    EXPECT_EQ(minLengthFocusLost(MinLengthBox::Mixed, "", s), "1");
    EXPECT_EQ(s.minLength, 2) << "the other mode's box leaves the record";
    EXPECT_EQ(minLengthFocusLost(MinLengthBox::Mixed, "5", s), "5");
    EXPECT_EQ(s.minLength, 2);
    EXPECT_EQ(minLengthFocusLost(MinLengthBox::PlainEnglish, "", s), "1");
    EXPECT_EQ(s.minLength, 1);
    EXPECT_EQ(minLengthFocusLost(MinLengthBox::PlainEnglish, "6", s), "6");
    EXPECT_EQ(s.minLength, 6);

    EXPECT_EQ(clampMinLength(0), 1);
    EXPECT_EQ(clampMinLength(-5), 1);
    EXPECT_EQ(clampMinLength(5000), 2048);
    EXPECT_EQ(clampMinLength(17), 17);
}

TEST(ExtractionSettingsCases, ModeChangeAndProposedOutput) {
    const struct {
        ExtractionMode mode;
        const char* suffix;
        bool addressBased;
    } modes[] = {
        {ExtractionMode::AsciiVa, ".a.txt", true},        {ExtractionMode::AsciiWhole, ".a.txt", false},
        {ExtractionMode::Utf16Va, ".u.txt", true},        {ExtractionMode::Utf16Whole, ".u.txt", false},
        {ExtractionMode::DelphiAscii, ".d.txt", false},   {ExtractionMode::DelphiUtf16, ".du.txt", false},
        {ExtractionMode::VbUtf16, ".vb.txt", false},      {ExtractionMode::Utf8Whole, ".u8.txt", false},
    };
    int index = 0;
    for (const auto& m : modes) {
        EXPECT_TRUE(extractionModeAt(index) == m.mode) << index;
        ++index;
        ExtractionSettings s;
        s.overlapFilter = true;
        const ExtractionModeChange change = applyExtractionMode(m.mode, "/d/x.exe", s);
        EXPECT_EQ(s.skipPeCheck, !m.addressBased) << m.suffix;
        EXPECT_EQ(change.overlapBoxEnabled, m.addressBased) << m.suffix;
        EXPECT_TRUE(s.overlapFilter) << "the box greys out but stays ticked";
        ASSERT_TRUE(change.outputPath.has_value());
        EXPECT_EQ(change.outputPath->string(), "/d/x.exe" + std::string(m.suffix));
        EXPECT_EQ(suggestOutputName("/d/x.exe", m.mode).string(), "/d/x.exe" + std::string(m.suffix));
        // No program path: the output box stays.
        EXPECT_FALSE(applyExtractionMode(m.mode, "", s).outputPath.has_value());
    }
    EXPECT_FALSE(extractionModeAt(8).has_value());
    EXPECT_FALSE(extractionModeAt(-1).has_value());
}

// ---- Character classes ------------------------------------------------------

TEST(CharClassCases, DoubleBytePairs) {
    const struct {
        int cls;
        unsigned char lead, trail;
        bool valid;
    } cases[] = {
        {1, 0xD7, 0xF9, true},  {1, 0xD7, 0xFA, false}, {1, 0xA4, 0xA2, false}, {1, 0xA6, 0xC1, true},
        {1, 0xB0, 0xA1, true},  {1, 0xF7, 0xFE, true},  {1, 0xF8, 0xA1, false}, {1, 0xB0, 0x7F, false},
        {2, 0x81, 0x40, true},  {2, 0xFE, 0xFE, true},  {2, 0x81, 0x7F, false}, {2, 0x80, 0x40, false},
        {2, 0xFF, 0x40, false}, {2, 0x95, 0x5C, true},  {2, 0x81, 0xFF, false},
        {3, 0xA4, 0x40, true},  {3, 0xA0, 0xA1, true},  {3, 0xA4, 0x7F, false}, {3, 0x81, 0x40, false},
        {3, 0xA4, 0xA0, false}, {0, 0xB0, 0xA1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidDoubleByte(c.lead, c.trail, c.cls), c.valid)
            << "class " << c.cls << std::hex << " lead " << int(c.lead) << " trail " << int(c.trail);

    for (int b = 0; b < 256; ++b) {
        const bool printable = b == 0x09 || b == 0x0A || b == 0x0D || (b >= 0x20 && b <= 0x7E);
        EXPECT_EQ(isPrintableByte(static_cast<unsigned char>(b)), printable) << b;
        EXPECT_EQ(printableByteTable()[b], printable) << b;
    }
}

TEST(CharClassCases, AnsiCandidates) {
    const struct {
        const char* name;
        const ExtractionSettings& settings;
        std::string candidate;
        std::string expected;
    } cases[] = {
        {"plain text with TAB CR LF", kAscii, "Hello\tWorld\r\n", "Hello\tWorld\r\n"},
        {"DEL in AsciiOnly", kAscii, "ab\x7F", ""},
        {"high byte in AsciiOnly", kAscii, "ab\x81", ""},
        {"backslash trail marked", kGbk, "\x95\x5C\x41", "\x95\x08\x41"},
        {"trail in 0x40..0x7E consumed with its lead", kGbk, "\x81\x41", "\x81\x41"},
        {"lone lead at the end", kGbk, "\x41\xB0", ""},
        {"0x80 in Mixed", kGbk, "a\x80" "b", ""},
        {"control byte in Mixed", kGbk, "a\x01", ""},
        {"GB2312 invalid pair", kGb2312, "\x41\xB0\x30\x43", ""},
        {"BIG5 pair", kBig5, "\xA4\x40x", "\xA4\x40x"},
        {"empty stays empty", kGbk, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(validateAnsiCandidate(c.candidate, c.settings), c.expected) << c.name;
    ExtractionSettings none = kAscii;
    none.textClassMode = TextClassMode::None;
    EXPECT_EQ(validateAnsiCandidate("abc", none), "");
}

TEST(CharClassCases, Utf16Candidates) {
    const struct {
        const char* name;
        const ExtractionSettings& settings;
        std::string candidate;
        std::string expected;
    } cases[] = {
        {"U+0041 U+4E00 GBK", kGbk, std::string("\x41\x00\x00\x4E", 4), "\x41\xD2\xBB"},
        {"U+0041 U+4E00 AsciiOnly", kAscii, std::string("\x41\x00\x00\x4E", 4), ""},
        {"plain units", kAscii, std::string("H\0i\0", 4), "Hi"},
        {"U+00E9 GBK", kGbk, std::string("\xE9\x00", 2), "\xA8\xA6"},
        {"U+00E9 GB2312 extended (row 0xA8)", kGb2312, std::string("\xE9\x00", 2), ""},
        {"U+0E01 not in the code page", kGbk, std::string("\x01\x0E", 2), ""},
        {"lone surrogate", kGbk, std::string("\x00\xD8", 2), ""},
        {"U+4E00 code page 936 bytes pass the BIG5 ranges", kBig5, std::string("\x00\x4E", 2), "\xD2\xBB"},
        {"U+4E02 (0x81 0x40) fails the BIG5 ranges", kBig5, std::string("\x02\x4E", 2), ""},
        {"odd length", kAscii, std::string("A\0B", 3), ""},
        {"no units", kGbk, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(convertUtf16Candidate(c.candidate, c.settings), c.expected) << c.name;
    // A character whose code page 936 trail byte is 0x5C carries the marker.
    const std::string unit = std::string("\x57\x4E", 2); // U+4E57, GBK 0x81 0x5C
    EXPECT_EQ(convertUnitToDoubleByte(unit, kGbk), "\x81\x08");
    EXPECT_TRUE(isPrintableUnit(std::string("A\0", 2)));
    EXPECT_FALSE(isPrintableUnit(std::string("A\x01", 2)));
}

TEST(CharClassCases, JunkText) {
    const std::pair<const char*, bool> cases[] = {
        {"3.14", true}, {"a1b2", true}, {"%d: %s", true}, {"", true},   {"x=1", true}, {"a.b", true},
        {"OK", false},  {"ab1", false}, {"ab", false},    {"\xB0\xA1", false}, {"1\x81", false}, {"1\x80", true},
    };
    for (const auto& [text, junk] : cases) EXPECT_EQ(isJunkText(text), junk) << text;
    EXPECT_TRUE(isAllPrintable(""));
    EXPECT_FALSE(isAllPrintable("a\xB0\xA1"));
}

// ---- Entries ---------------------------------------------------------------------

TEST(EntryCases, LayoutEscapesFiltersAndMinimum) {
    ExtractionSettings quotes = kAscii;
    quotes.escapeQuotes = true;
    ExtractionSettings min3 = kAscii;
    min3.minLength = 3;
    ExtractionSettings onlyDouble = kGbk;
    onlyDouble.requireDoubleByte = true;
    onlyDouble.junkFilter = true;
    ExtractionSettings junk = kAscii;
    junk.junkFilter = true;
    ExtractionSettings min2 = kAscii;
    min2.minLength = 2;
    const struct {
        const char* name;
        const ExtractionSettings& settings;
        std::string candidate;
        std::string expected; // empty: dropped
    } cases[] = {
        {"backslashes doubled", min2, "C:\\dir", entry(1234, "C:\\\\dir")},
        {"TAB CR LF escaped", kAscii, "a\tb\r\n", entry(1234, "a\\tb\\r\\n")},
        {"marked trail single", kGbk, "\x95\x08", entry(1234, "\x95\\")},
        {"quote kept", kAscii, "say \"hi\"", entry(1234, "say \"hi\"")},
        {"quote escaped", quotes, "say \"hi\"", entry(1234, "say \\\"hi\\\"")},
        {"length before escaping: a TAB dropped at 3", min3, "a\t", ""},
        {"a\\b emitted at 3", min3, "a\\b", entry(1234, "a\\\\b")},
        {"one byte dropped at 2", min2, "a", ""},
        {"two bytes emitted at 2", min2, "ab", entry(1234, "ab")},
        {"require double byte drops ASCII", onlyDouble, "hello", ""},
        {"require double byte keeps a double-byte text", onlyDouble, "\xB0\xA1" "1", entry(1234, "\xB0\xA1" "1")},
        {"junk 1.0.2", junk, "1.0.2", ""},
        {"junk x1.0", junk, "x1.0", ""},
        {"not junk ver", junk, "ver", entry(1234, "ver")},
    };
    for (const auto& c : cases) {
        std::string candidate = c.candidate;
        EXPECT_EQ(makeEntry("1234", candidate, c.settings), c.expected) << c.name;
    }
}

// ---- ANSI whole-file scanner -------------------------------------------------------

// The scanner's result written plainly: for every piece that a zero byte
// ends, its trailing run of valid characters, in file order.
std::string plainAnsiScan(const std::string& file, const ExtractionSettings& settings) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t zero = file.find('\0'); zero != std::string::npos; zero = file.find('\0', start)) {
        std::string piece = file.substr(start, zero - start);
        std::size_t r = 0;
        for (std::size_t i = 0; i < piece.size();) {
            const auto b = static_cast<unsigned char>(piece[i]);
            if (isPrintableByte(b)) {
                ++r;
                ++i;
            } else if (settings.textClassMode != TextClassMode::Mixed || b <= 0x80 || i + 1 == piece.size()) {
                r = 0;
                ++i;
            } else if (isValidDoubleByte(b, static_cast<unsigned char>(piece[i + 1]), settings.doubleByteClass)) {
                if (piece[i + 1] == '\\') piece[i + 1] = kTrailBackslashMarker;
                r += 2;
                i += 2;
            } else {
                r = 0;
                ++i;
            }
        }
        if (r > 0) {
            std::string run = piece.substr(piece.size() - r);
            out += makeEntry(std::to_string(start + piece.size() - r), run, settings);
        }
        start = zero + 1;
    }
    return out;
}

std::string streamed(const std::string& file, const ExtractionSettings& settings, const std::vector<std::size_t>& cuts) {
    EntryBuffer out(settings);
    AnsiStringFinder finder(settings, out);
    std::size_t at = 0;
    for (std::size_t cut : cuts) {
        if (cut <= at || cut > file.size()) continue;
        finder.feed(std::string_view(file).substr(at, cut - at));
        at = cut;
    }
    finder.feed(std::string_view(file).substr(at));
    return out.bytes();
}

struct AnsiCase {
    const char* name;
    const ExtractionSettings& settings;
    std::string file;
    std::string expected;
};

std::string at3999() {
    std::string f(3999, 'x');
    f += '\0';
    f += std::string(5000, 'y');
    f += '\0';
    return f;
}

std::string leadAtChunkEnd() {
    std::string f(4090, '\0');
    f += "abcde\xB0";
    f += "\xA1" "fg";
    f += '\0';
    return f;
}

TEST(AnsiScannerCases, Table) {
    const std::string endAtBlock = std::string(4095, 'q') + std::string(1, '\0');
    std::string tail = std::string(4094, '\0') + "zz";
    tail += '\x01';
    tail += '\0';
    const AnsiCase cases[] = {
        {"unterminated last piece", kAscii, std::string("Hello\0World", 11), entry(0, "Hello")},
        {"string across three blocks", kAscii, at3999(), entry(0, std::string(3999, 'x')) + entry(4000, std::string(5000, 'y'))},
        {"run broken in the next block", kAscii, tail, ""},
        {"lead and trail split by a block edge", kGbk, leadAtChunkEnd(), entry(4090, "abcde\xB0\xA1" "fg")},
        {"invalid pair restarts the run", kGb2312, std::string("\x41\xB0\x30\x43\0", 5), entry(2, "0C")},
        {"backslash trail single", kGbk, std::string("\x95\x5C\0", 3), entry(0, "\x95\x5C")},
        {"high byte cuts in AsciiOnly", kAscii, std::string("ab\x81" "cd\0", 6), entry(3, "cd")},
        {"zero at a multiple of 4096", kAscii, endAtBlock, entry(0, std::string(4095, 'q'))},
        {"empty file", kAscii, "", ""},
        {"one byte", kAscii, "a", ""},
        {"only zeros", kGbk, std::string(9000, '\0'), ""},
        {"only 0xFF", kGbk, std::string(9000, '\xFF'), ""},
    };
    for (const AnsiCase& c : cases) {
        EXPECT_EQ(plainAnsiScan(c.file, c.settings), c.expected) << c.name;
        EXPECT_EQ(streamed(c.file, c.settings, {4096, 8192}), c.expected) << c.name;
        EXPECT_EQ(streamed(c.file, c.settings, {1, 2, 3, 4095, 4096, 4097, 8191}), c.expected) << c.name;
    }
}

TEST(AnsiScannerCases, StreamMatchesPlainScanOnGeneratedFiles) {
    std::mt19937 rng(2024);
    const ExtractionSettings settingsList[] = {kAscii, kGb2312, kGbk, kBig5};
    static const char kAlphabet[] = "\0\0\0\x01\x7F\x80\x81\x95\xA1\xB0\xD7\xF7\xFE\xFF\x5C\x40\x7E\t\r\nAz09 \"";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int round = 0; round < 200; ++round) {
        std::string file(rng() % 12000, '\0');
        for (char& c : file) c = rng() % 3 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        std::vector<std::size_t> cuts;
        for (std::size_t at = 0; at < file.size(); at += 1 + rng() % 5000) cuts.push_back(at);
        for (const ExtractionSettings& s : settingsList)
            ASSERT_EQ(streamed(file, s, cuts), plainAnsiScan(file, s)) << "round " << round;
    }
}

// ---- The job and the command line ------------------------------------------------------

class ExtractionJobCases : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::filesystem::path program = folder / "p.bin";
    std::filesystem::path output = folder / "p.bin.txt";
    RecordingReporter reporter;
};

TEST_F(ExtractionJobCases, Refusals) {
    writeBytes(program, std::string("Hi\0", 3));
    ExtractionSettings s = kAscii;
    s.skipPeCheck = true;
    EXPECT_EQ(runExtraction(program, "", true, ExtractionMode::AsciiWhole, s, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), kMissingPathsMessage);
    EXPECT_EQ(runExtraction("", output, true, ExtractionMode::AsciiWhole, s, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), kMissingPathsMessage);
    EXPECT_EQ(runExtraction(program, output, false, ExtractionMode::AsciiWhole, s, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), kNoClassMessage);
    EXPECT_FALSE(std::filesystem::exists(output));

    const auto missing = folder / "missing.exe";
    EXPECT_EQ(runExtraction(missing, output, true, ExtractionMode::AsciiWhole, s, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), "读取“" + pathText(missing) +
                                      "”失败！请检查文件是否正在被其它程序使用，并且共享方式设置为“禁止读”。");
    EXPECT_EQ(runExtraction(folder.path(), output, true, ExtractionMode::Utf16Whole, s, reporter), JobStatus::Stopped);
    EXPECT_EQ(reporter.message(), programReadFailedMessage(folder.path()));

    // The output cannot be created: a missing folder, a folder.
    for (const auto& bad : {folder / "no" / "out.txt", folder.path()}) {
        EXPECT_EQ(runExtraction(program, bad, true, ExtractionMode::AsciiWhole, s, reporter), JobStatus::Stopped);
        EXPECT_EQ(reporter.message(), " 请检查文件“" + pathText(bad) + "”是否正在被其它程序使用，并且共享方式设置为“禁止写”。");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST_F(ExtractionJobCases, FailedWriteKeepsTheOldOutput) {
    writeBytes(program, std::string("Hello\0", 6));
    writeBytes(output, "old");
    ExtractionSettings s = kAscii;
    s.skipPeCheck = true;
    for (ExtractionMode mode : {ExtractionMode::AsciiWhole, ExtractionMode::Utf16Whole, ExtractionMode::Utf8Whole}) {
        for (WriteStage stage : {WriteStage::Create, WriteStage::Write, WriteStage::Rename}) {
            setWriteFaultHook([stage](WriteStage st, const std::filesystem::path&) { return st != stage; });
            RecordingReporter r;
            EXPECT_EQ(runExtraction(program, output, true, mode, s, r), JobStatus::Stopped);
            setWriteFaultHook(nullptr);
            EXPECT_EQ(r.message(), writeFailedMessage(output));
            EXPECT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(readBytes(output), "old");
        }
    }
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) left.push_back(e.path().filename());
    EXPECT_EQ(left.size(), 2u) << "no temporary file is left behind";
}

TEST_F(ExtractionJobCases, EveryModeOnBadInputGivesItsMessage) {
    const std::pair<ExtractionMode, std::string_view> heads[] = {
        {ExtractionMode::AsciiWhole, kAsciiDoneHead},     {ExtractionMode::Utf16Whole, kUtf16DoneHead},
        {ExtractionMode::DelphiAscii, kDelphiAsciiDoneHead}, {ExtractionMode::DelphiUtf16, kDelphiUtf16DoneHead},
        {ExtractionMode::VbUtf16, kVbDoneHead},           {ExtractionMode::Utf8Whole, kUtf8DoneHead},
    };
    const std::string files[] = {"", "a", std::string(5000, '\0'), std::string(5000, '\xFF'), "MZ"};
    for (const std::string& file : files) {
        writeBytes(program, file);
        for (const auto& [mode, head] : heads) {
            writeBytes(output, "old");
            ExtractionSettings s = kGbk;
            s.skipPeCheck = true;
            RecordingReporter r;
            EXPECT_EQ(runExtraction(program, output, true, mode, s, r), JobStatus::Completed);
            EXPECT_TRUE(hasHead(r.message(), head)) << r.message();
            EXPECT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(readBytes(output), "") << "size " << file.size();
        }
    }
    // UTF-8 mode with plain English only runs the ANSI scanner and says so.
    writeBytes(program, std::string("Hello\0", 6));
    ExtractionSettings s = kAscii;
    s.skipPeCheck = true;
    EXPECT_EQ(runExtraction(program, output, true, ExtractionMode::Utf8Whole, s, reporter), JobStatus::Completed);
    EXPECT_TRUE(hasHead(reporter.message(), kAsciiDoneHead)) << reporter.message();
    EXPECT_EQ(readBytes(output), entry(0, "Hello"));
}

TEST_F(ExtractionJobCases, WholeFileJobMatchesPlainScanOnALargerFile) {
    // The job reads the file in its own blocks; its output must still be the
    // unchunked result (entries past 102400 bytes included).
    std::mt19937 rng(7);
    static const char kPieces[][8] = {"ab", "\xB0\xA1x", "\x95\\", "\x81", "1.2", "\t\r\n", "\x7F", "\"q"};
    std::string file;
    while (file.size() < 600000) {
        file += kPieces[rng() % 8];
        if (rng() % 3 == 0) file += '\0';
        if (rng() % 50 == 0) file.append(rng() % 9000, static_cast<char>('a' + rng() % 26));
    }
    writeBytes(program, file);
    for (ExtractionSettings s : {kAscii, kGbk, kGb2312}) {
        s.skipPeCheck = true;
        s.escapeQuotes = true;
        RecordingReporter r;
        ASSERT_EQ(runExtraction(program, output, true, ExtractionMode::AsciiWhole, s, r), JobStatus::Completed);
        const std::string expected = plainAnsiScan(file, s);
        EXPECT_GT(expected.size(), 102400u);
        EXPECT_EQ(readBytes(output), expected);
    }
}

TEST_F(ExtractionJobCases, FrameWritesLargeOutputsInPiecesAndRefusesAShortenedProgram) {
    // Over 4 MB of entries: passed to the output in pieces, same bytes.
    std::string file;
    for (int i = 0; file.size() < (std::size_t{6} << 20); ++i) {
        for (char c : "entry " + std::to_string(i)) file += std::string{c, '\0'};
        file += std::string(2, '\0');
    }
    writeBytes(program, file);
    ExtractionSettings s = kAscii;
    s.skipPeCheck = true;
    RecordingReporter quiet;
    EntryBuffer whole(s);
    searchUtf16Strings(file, s, whole, quiet);
    ASSERT_GT(whole.bytes().size(), std::size_t{8} << 20);
    ASSERT_EQ(runExtraction(program, output, true, ExtractionMode::Utf16Whole, s, reporter), JobStatus::Completed);
    EXPECT_EQ(readBytes(output), whole.bytes());

    // The program file loses its end while the search reads it: the read
    // failure message, the old output, no temporary file.
    writeBytes(output, "old");
    const ImageSearch shortening = [this](std::string_view image, const ExtractionSettings& settings,
                                          EntryBuffer& entries, Reporter& r) {
        std::filesystem::resize_file(program, 4096);
        searchUtf16Strings(image, settings, entries, r);
    };
    RecordingReporter r;
    EXPECT_EQ(runScanFrame(program, output, s, r, {kUtf16DoneHead, true}, shortening), JobStatus::Stopped);
    EXPECT_EQ(r.messages, std::vector<std::string>{programReadFailedMessage(program)});
    EXPECT_EQ(readBytes(output), "old");

    // The same with the search that reads the file as it goes.
    writeBytes(program, file);
    const StreamedSearch shorteningStream = [this](StreamedFile& streamed, const ExtractionSettings& settings,
                                                   EntryBuffer& entries, Reporter& rr) {
        std::filesystem::resize_file(program, 4096);
        streamUtf16Strings(streamed, settings, entries, rr);
    };
    RecordingReporter r2;
    EXPECT_EQ(runStreamedScanFrame(program, output, s, r2, {kUtf16DoneHead, true}, shorteningStream),
              JobStatus::Stopped);
    EXPECT_EQ(r2.messages, std::vector<std::string>{programReadFailedMessage(program)});
    EXPECT_EQ(readBytes(output), "old");
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(ExtractCommandCases, OptionsAndDefaults) {
    ScratchFolder folder;
    const auto program = folder / "x.exe";
    // ab@0, a GBK character @3, xyz@6, 1.2@10, say"@14, k@19
    writeBytes(program, std::string("ab\0\xB0\xA1\0xyz\0" "1.2\0say\"\0k\0", 21));
    const std::string p = program.string();

    // Default mode is the address-based one: a text file is refused and no
    // file is created.
    auto r = runCli({"extract", p});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.standardOutput, std::string(kNotPeMessage) + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "x.exe.a.txt"));

    const std::string ab = entry(0, "ab"), gbk = entry(3, "\xB0\xA1"), xyz = entry(6, "xyz"), num = entry(10, "1.2"),
                      say = entry(14, "say\""), k = entry(19, "k");
    const struct {
        std::vector<std::string> options;
        std::string expected;
    } cases[] = {
        {{}, ab + xyz + num + say},
        {{"--no-ascii", "--gbk"}, gbk},
        {{"--gbk"}, ab + gbk + xyz + num + say},
        {{"--gbk", "--min-mixed", "3", "--min-ascii", "1"}, xyz + num + say},
        {{"--min-ascii", "3", "--min-mixed", "1"}, xyz + num + say},
        {{"--min-ascii", "0"}, ab + xyz + num + say + k},
        {{"--min-ascii", "5000"}, ""},
        {{"--junk-filter"}, ab + xyz + say},
        {{"--escape-quotes"}, ab + xyz + num + entry(14, "say\\\"")},
    };
    int i = 0;
    for (const auto& c : cases) {
        const std::string out = (folder / ("o" + std::to_string(i++) + ".txt")).string();
        std::vector<std::string> args{"extract", p, out, "--mode", "ascii"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        r = runCli(args);
        EXPECT_EQ(r.exitCode, 0) << i;
        EXPECT_EQ(readBytes(out), c.expected) << i;
    }

    // The default output path follows the mode.
    EXPECT_EQ(runCli({"extract", p, "--mode", "utf8"}).exitCode, 0);
    EXPECT_EQ(readBytes(folder / "x.exe.u8.txt"), ab + xyz + num + say);
    EXPECT_EQ(runCli({"extract", p, "--mode", "vb"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "x.exe.vb.txt"));

    r = runCli({"extract", p, "--no-ascii"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.standardOutput, std::string(kNoClassMessage) + "\n");

    EXPECT_EQ(runCli({"extract", p, "--gbk", "--big5"}).exitCode, 2);
    EXPECT_EQ(runCli({"extract", p, "--mode", "nope"}).exitCode, 2);
    EXPECT_EQ(runCli({"extract"}).exitCode, 2);
}

} // namespace
} // namespace kestrin
