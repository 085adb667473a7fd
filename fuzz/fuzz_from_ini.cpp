// The ini merge on an arbitrary comparison text and an arbitrary ini text.
//
// Input: one option byte (backup), two bytes giving the comparison text's
// length, the comparison text, then the ini text.
//
// Properties: exactly one message; the ini file is never changed; a stop
// leaves the comparison file as it was; a rewritten comparison file holds only
// entries of three lines (an empty line, an original line of the old file, a
// translation line), each ended by CR LF with no raw CR or LF inside; the
// backup, when asked for, holds the old comparison file.

#include "comparison/ini_import.h"
#include "core/file_io.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <string>

using namespace kestrin;

namespace {

// The pattern engine ends lines at LF, CR and form feed.
bool isSeparator(char c) { return c == '\n' || c == '\r' || c == '\f'; }

bool isLineOf(const std::string& text, const std::string& line) {
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        const bool starts = at == 0 || isSeparator(text[at - 1]);
        const std::size_t end = at + line.size();
        const bool ends = end == text.size() || isSeparator(text[end]);
        if (starts && ends) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader input(data, size);
    const bool backup = (input.takeByte() & 1) != 0;
    std::size_t comparisonSize = input.takeByte();
    comparisonSize |= static_cast<std::size_t>(input.takeByte()) << 8;
    if (comparisonSize > input.rest.size()) comparisonSize = input.rest.size();
    const std::string comparison(input.rest.substr(0, comparisonSize));
    const std::string ini(input.rest.substr(comparisonSize));

    fuzz::clearRunFolder();
    const auto comparisonPath = fuzz::runFolder() / "p.exe.a.txt";
    const auto iniPath = fuzz::runFolder() / "p.exe.a.ini";
    fuzz::putFile(comparisonPath, comparison);
    fuzz::putFile(iniPath, ini);

    fuzz::CountingReporter reporter;
    const JobStatus status = mergeIniIntoComparison(comparisonPath, iniPath, backup, reporter);
    reporter.expectOneMessage();
    if (fuzz::getFile(iniPath) != ini) fuzz::fail("the merge changed the ini file");
    const std::string after = fuzz::getFile(comparisonPath);
    if (status == JobStatus::Stopped) {
        if (after != comparison) fuzz::fail("a stopped merge changed the comparison file");
        return 0;
    }
    if (backup && fuzz::getFile(appendToPath(comparisonPath, ".BAK")) != comparison)
        fuzz::fail("the backup is not the old comparison file");
    if (after == comparison) return 0;

    const std::string oldText = comparison.substr(0, comparison.find('\0'));
    std::size_t at = 0;
    while (at < after.size()) {
        if (after.compare(at, 2, "\r\n") != 0) fuzz::fail("entry does not begin with an empty line");
        const auto originalEnd = after.find("\r\n", at + 2);
        if (originalEnd == std::string::npos) fuzz::fail("original line without CR LF");
        const auto translationEnd = after.find("\r\n", originalEnd + 2);
        if (translationEnd == std::string::npos) fuzz::fail("translation line without CR LF");
        const std::string original = after.substr(at + 2, originalEnd - at - 2);
        const std::string translation = after.substr(originalEnd + 2, translationEnd - originalEnd - 2);
        if (original.find_first_of("\r\n") != std::string::npos || translation.find_first_of("\r\n") != std::string::npos)
            fuzz::fail("raw CR or LF inside a line");
        if (original.empty() || original[0] < '0' || original[0] > '9') fuzz::fail("original line without offset");
        if (!isLineOf(oldText, original)) fuzz::fail("original line that the old file did not hold");
        at = translationEnd + 2;
    }
    return 0;
}
