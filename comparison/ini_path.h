#pragma once

#include <filesystem>

namespace kestrin {

// The ini path proposed for a comparison file: a ".txt" (any case) found in
// the last five characters of the path is replaced by ".ini"; a path without
// one is proposed unchanged. Works on characters, so a name in any script
// keeps its characters whole.
std::filesystem::path iniPathFor(const std::filesystem::path& comparisonPath);

} // namespace kestrin
