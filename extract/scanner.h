#pragma once

// The common shape of a scanner, as the extraction job dispatches to it.
//
// A scanner reads the program file itself (whole, or in a stream), finds its
// strings, and writes the comparison file in one crash-safe write
// (writeFileAtomic). Its output is the plain concatenation of its entries in
// ascending order of file offset, each exactly as makeEntry builds it, with
// nothing before the first and nothing after the last; a scan that finds
// nothing writes an empty file.
//
// It reports through the reporter: a maximum, single steps, and back to 0 at
// the end, plus exactly one message:
//   - its completion message (head, elapsed seconds, " 秒!") -> Completed;
//   - programReadFailedMessage(programPath) when the program file cannot be
//     read; the output path is left untouched -> Stopped;
//   - writeFailedMessage(outputPath) when the comparison file cannot be
//     written; the output path stays as it was -> Stopped.

#include "core/reporter.h"
#include "extract/extraction_settings.h"

#include <filesystem>

namespace kestrin {

using ScannerFunction = JobStatus (*)(const std::filesystem::path& programPath,
                                      const std::filesystem::path& outputPath, const ExtractionSettings& settings,
                                      Reporter& reporter);

} // namespace kestrin
