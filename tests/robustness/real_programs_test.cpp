// Extraction and write-back on small programs built by real compilers (the
// mingw-w64 cross compilers, see tests/fixtures/real/rebuild.sh). The file
// offsets of their literals are listed in expected_offsets.txt.

#include "core/code_page.h"
#include "fuzz/comparison_invariants.h"
#include "tests/support/escaped_line.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kestrin::test {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(KESTRIN_SOURCE_DIR) / "tests/fixtures/real";

struct Literal {
    std::string binary;
    std::string encoding;  // "ansi" or "utf16"
    std::int64_t offset = 0;
    std::string bytes;     // as stored in the program, without terminator
};

std::vector<Literal> expectedLiterals() {
    std::vector<Literal> literals;
    std::ifstream in(kFixtures / "expected_offsets.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Literal literal;
        std::string hex;
        fields >> literal.binary >> literal.encoding >> literal.offset >> hex;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            literal.bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        literals.push_back(literal);
    }
    return literals;
}

std::string entryFor(const Literal& literal) {
    const std::string ansi =
        literal.encoding == "ansi" ? literal.bytes : utf16ToCp936(leBytesToUtf16(literal.bytes));
    const std::string line = escapedLine(ansi);
    return "\r\n" + std::to_string(literal.offset) + ":" + line + "\r\n" + line + "\r\n";
}

struct ExtractionCase {
    std::string binary;
    std::string mode;
    std::string encoding;  // the literals of this encoding must all be found
    std::string classOption = "--gbk";  // empty: plain English only
};

TEST(RealPrograms, ExtractionFindsEveryLiteralAtItsOffset) {
    const std::vector<ExtractionCase> cases = {
        {"ansi_table.exe", "ascii-va", "ansi"},   {"ansi_table.exe", "ascii", "ansi"},
        {"wide_table.exe", "utf16-va", "utf16"},  {"wide_table.exe", "utf16", "utf16"},
        {"mixed64.exe", "ascii", "ansi"},
        // Its wide literal follows GBK text: with a double-byte class the
        // whole-file UTF-16 scan reads units across that text, so plain English.
        {"mixed64.exe", "utf16", "utf16", ""},
    };
    const auto literals = expectedLiterals();
    ASSERT_GE(literals.size(), 15u);
    ScratchFolder scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.binary + " --mode " + c.mode);
        const auto output = scratch / (c.binary + "." + c.mode + ".txt");
        std::vector<std::string> arguments = {"extract", (kFixtures / c.binary).string(), output.string(), "--mode", c.mode};
        if (!c.classOption.empty()) arguments.push_back(c.classOption);
        const auto result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
        const std::string text = readBytes(output);
        EXPECT_EQ(checkExtractedComparison(text), "");
        int checked = 0;
        for (const auto& literal : literals) {
            if (literal.binary != c.binary || literal.encoding != c.encoding) continue;
            ++checked;
            EXPECT_NE(text.find(entryFor(literal)), std::string::npos)
                << "missing entry at offset " << literal.offset << ": " << escapedLine(literal.bytes);
        }
        EXPECT_GT(checked, 0);
    }
}

TEST(RealPrograms, AddressModesRefuseThe64BitImage) {
    ScratchFolder scratch;
    const auto output = scratch / "mixed64.exe.a.txt";
    writeBytes(output, "keep me");
    for (const std::string mode : {"ascii-va", "utf16-va"}) {
        const auto result = runCli({"extract", (kFixtures / "mixed64.exe").string(), output.string(), "--mode", mode});
        EXPECT_EQ(result.exitCode, 1) << mode;
        EXPECT_EQ(result.standardOutput, "此文件为 64 位 PE 格式，暂不支持“VA方式”查找字串！\n") << mode;
        EXPECT_EQ(readBytes(output), "keep me") << mode;
    }
}

// Splits a comparison text into its entries, keyed by offset: each value is
// {original line text, translation line}.
std::map<std::int64_t, std::pair<std::string, std::string>> parseEntries(const std::string& text) {
    std::map<std::int64_t, std::pair<std::string, std::string>> entries;
    std::size_t at = 0;
    while (at + 2 <= text.size()) {
        const auto originalEnd = text.find("\r\n", at + 2);
        const auto translationEnd = text.find("\r\n", originalEnd + 2);
        const std::string original = text.substr(at + 2, originalEnd - at - 2);
        const auto colon = original.find(':');
        entries[std::stoll(original.substr(0, colon))] = {original.substr(colon + 1),
                                                         text.substr(originalEnd + 2, translationEnd - originalEnd - 2)};
        at = translationEnd + 2;
    }
    return entries;
}

std::string serialise(const std::map<std::int64_t, std::pair<std::string, std::string>>& entries) {
    std::string text;
    for (const auto& [offset, lines] : entries)
        text += "\r\n" + std::to_string(offset) + ":" + lines.first + "\r\n" + lines.second + "\r\n";
    return text;
}

struct Translation {
    std::int64_t offset;
    std::string line;      // the translation line as the translator writes it
    std::string expected;  // the bytes at offset afterwards ("" when the entry is overlong)
};

// Extracts PROGRAM with the given modes, puts translations into the entries,
// writes them back and checks that exactly the translated bytes changed.
// Returns the patched image.
std::string translateProgram(const fs::path& program, const std::string& extractMode,
                             const std::string& writeMode, const std::vector<Translation>& translations,
                             const std::string& expectedMessageStart) {
    const std::string before = readBytes(program);
    const auto comparison = fs::path(program.string() + "." + writeMode + ".txt");
    const auto extracted = runCli({"extract", program.string(), comparison.string(), "--mode", extractMode, "--gbk"});
    EXPECT_EQ(extracted.exitCode, 0) << extracted.standardOutput;
    auto entries = parseEntries(readBytes(comparison));
    std::string expectedImage = before;
    for (const auto& t : translations) {
        EXPECT_EQ(entries.count(t.offset), 1u) << "no entry at " << t.offset;
        entries[t.offset].second = t.line;
        if (!t.expected.empty()) expectedImage.replace(t.offset, t.expected.size(), t.expected);
    }
    writeBytes(comparison, serialise(entries));
    const auto result =
        runCli({"write-back", program.string(), comparison.string(), "--mode", writeMode, "--no-backup"});
    EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
    EXPECT_EQ(result.standardOutput.rfind(expectedMessageStart, 0), 0u) << result.standardOutput;
    const std::string after = readBytes(program);
    EXPECT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size() && i < expectedImage.size(); ++i)
        EXPECT_EQ(after[i], expectedImage[i]) << "byte at offset " << i;
    return after;
}

// Runs a program under wine; nullopt-like empty result with a reason when it
// cannot run here.
struct WineRun {
    bool ran = false;
    std::string output;
    std::string why;
};

WineRun runUnderWine(const fs::path& exe, bool is64, const fs::path& prefix) {
    std::vector<std::string> candidates = is64 ? std::vector<std::string>{"/usr/lib/wine/wine64", "/usr/bin/wine64", "/usr/bin/wine"}
                                               : std::vector<std::string>{"/usr/lib/wine/wine", "/usr/bin/wine"};
    std::string wine;
    for (const auto& c : candidates)
        if (::access(c.c_str(), X_OK) == 0) {
            wine = c;
            break;
        }
    if (wine.empty()) return {false, "", "wine is not installed"};
    ScratchFolder scratch;
    const auto out = scratch / "stdout";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        ::unsetenv("DISPLAY");
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, 0);
        ::dup2(fd, 1);
        ::dup2(devNull, 2);
        ::execl("/usr/bin/timeout", "timeout", "120", wine.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    WineRun run;
    run.output = readBytes(out);
    run.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ran) run.why = wine + " could not run " + exe.filename().string() + " (exit status " +
                            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
    return run;
}

const fs::path& winePrefix() {
    static const fs::path prefix = [] {
        const char* home = std::getenv("KESTRIN_WINEPREFIX");
        return fs::path(home && *home ? home : (fs::temp_directory_path() / "kestrin-wineprefix").string());
    }();
    return prefix;
}

TEST(RealPrograms, WriteBackChangesExactlyTheTranslatedBytesOf32BitProgram) {
    ScratchFolder scratch;
    const auto program = scratch / "ansi_table.exe";
    fs::copy_file(kFixtures / "ansi_table.exe", program);
    const std::string z(1, '\0');
    const std::vector<Translation> translations = {
        {1574, "Oeffnen", "Oeffnen" + z + z},                 // shorter: zero padding
        {1584, "Sichern...", "Sichern..."},                    // as long as the original
        {1595, "Hallo Welt", "Hallo Welt"},                    // GBK original
        {1606, "Mit\\tTab", "Mit\tTab" + std::string(6, '\0')}, // an escape in the translation
        {1651, "Tabelle 11!", "Tabelle 11!" + z},              // one byte longer: borrows a free zero byte
        {1564, "Auf Wiedersehen\\r\\n", ""},                   // too long: reported, not written
    };
    translateProgram(program, "ascii-va", "ascii", translations, "写回程序文件完毕，共用时： ");
    const std::string report = readBytes(fs::path(program.string() + ".ascii.txt_超长字串.txt"));
    EXPECT_EQ(report, "\r\n1564:Goodbye\\r\\n\r\nAuf Wiedersehen\\r\\n\r\n");

    // Running the patched program shows the translations.
    const auto run = runUnderWine(kFixtures / "ansi_table.exe", false, winePrefix());
    if (!run.ran || run.output.rfind("Kestrin sample program\r\n", 0) != 0)
        GTEST_SKIP() << "cannot run 32-bit Windows programs here: " << (run.why.empty() ? "unexpected output" : run.why)
                     << " (the kernel may lack 32-bit support, or wine32 is missing)";
    const auto patched = runUnderWine(program, false, winePrefix());
    EXPECT_EQ(patched.output,
              "Kestrin sample program\r\nOeffnen\r\nSichern...\r\nHallo Welt\r\nMit\tTab\r\n"
              "Path C:\\temp\\x.txt\r\nSay \"hello\"\r\nTabelle 11!\r\nGoodbye\r\n");
}

TEST(RealPrograms, WriteBackOfWideLiteralsKeepsTheirTerminators) {
    ScratchFolder scratch;
    const auto program = scratch / "wide_table.exe";
    fs::copy_file(kFixtures / "wide_table.exe", program);
    const auto utf16 = [](const std::u16string& s) { return utf16ToLeBytes(s); };
    const std::vector<Translation> translations = {
        {1586, "Oeffnen", utf16(u"Oeffnen") + std::string(6, '\0')},  // 2 characters shorter, + terminator
        {1606, "Hallo Welt", ""},                                       // longer, no free zero bytes
    };
    translateProgram(program, "utf16-va", "utf16", translations, "写回程序文件完毕，共用时： ");
}

TEST(RealPrograms, Patched64BitProgramPrintsTheTranslations) {
    ScratchFolder scratch;
    const auto program = scratch / "mixed64.exe";
    fs::copy_file(kFixtures / "mixed64.exe", program);
    translateProgram(program, "ascii", "ascii",
                     {{1536, "Vierundsechzig", "Vierundsechzig"}, {1564, "Chinese!", std::string("Chinese!") + '\0'}},
                     "写回程序文件完毕，共用时： ");
    translateProgram(program, "utf16", "utf16", {{1574, "Breite", utf16ToLeBytes(u"Breite") + std::string(10, '\0')}},
                     "写回程序文件完毕，共用时： ");

    const auto run = runUnderWine(program, true, winePrefix());
    if (!run.ran) GTEST_SKIP() << "cannot run 64-bit Windows programs here: " << run.why;
    EXPECT_EQ(run.output, "Vierundsechzig\r\nOpen file\r\nChinese!\r\nBreite\r\n");
}

} // namespace
} // namespace kestrin::test
