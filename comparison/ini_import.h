#pragma once

#include "core/reporter.h"

#include <filesystem>

namespace kestrin {

// Rewrites a comparison file with the values of an ini file as translation
// lines: an entry whose offset equals an ini key takes that key's value, every
// other entry its own original text. With backup, the comparison file is first
// copied to its path followed by ".BAK". Ends with one message.
JobStatus mergeIniIntoComparison(const std::filesystem::path& comparisonPath,
                                 const std::filesystem::path& iniPath, bool backup, Reporter& reporter);

} // namespace kestrin
