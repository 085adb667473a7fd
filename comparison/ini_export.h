#pragma once

#include "core/reporter.h"

#include <filesystem>

namespace kestrin {

// Writes the ini file of a comparison file: one line "offset=original text"
// (CR LF) per entry, in file order, texts carried byte for byte. Reports
// progress per matched line and ends with one message.
JobStatus convertComparisonToIni(const std::filesystem::path& comparisonPath,
                                 const std::filesystem::path& iniPath, Reporter& reporter);

} // namespace kestrin
