// The ini export on an arbitrary comparison text.
//
// Properties: exactly one message; the comparison file is never changed; every
// ini line is an offset, "=", a text and CR LF, with no raw CR or LF inside,
// and stands in the comparison text as an original line (the "=" read as the
// colon after the offset).

#include "comparison/ini_export.h"
#include "core/file_io.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <string>

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string comparison(reinterpret_cast<const char*>(data), size);
    fuzz::clearRunFolder();
    const auto comparisonPath = fuzz::runFolder() / "p.exe.a.txt";
    const auto iniPath = fuzz::runFolder() / "p.exe.a.ini";
    fuzz::putFile(comparisonPath, comparison);

    fuzz::CountingReporter reporter;
    convertComparisonToIni(comparisonPath, iniPath, reporter);
    reporter.expectOneMessage();
    if (fuzz::getFile(comparisonPath) != comparison) fuzz::fail("the export changed the comparison file");

    const std::string ini = fuzz::getFile(iniPath);
    const std::string text = comparison.substr(0, comparison.find('\0'));
    std::size_t at = 0;
    while (at < ini.size()) {
        const auto end = ini.find("\r\n", at);
        if (end == std::string::npos) fuzz::fail("ini line without CR LF");
        std::string line = ini.substr(at, end - at);
        if (line.find_first_of("\r\n") != std::string::npos) fuzz::fail("raw CR or LF inside an ini line");
        std::size_t digits = 0;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
        if (digits == 0 || digits >= line.size() || line[digits] != '=') fuzz::fail("ini line without key");
        line[digits] = ':';
        const auto found = text.find(line);
        if (found == std::string::npos) fuzz::fail("ini line that is no original line of the comparison text");
        at = end + 2;
    }
    return 0;
}
