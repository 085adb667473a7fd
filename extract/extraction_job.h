#pragma once

// The extraction job: checks the inputs, makes sure the address-based modes
// get a 32-bit PE image, and runs the scanner of the mode.

#include "core/reporter.h"
#include "extract/extraction_settings.h"

#include <filesystem>

namespace kestrin {

// Refusals, in this order, each with its own message and no file touched:
// an empty program or output path; no class box on; a program file that
// cannot be read; for the address-based modes (unless skipPeCheck is set) a
// file that is not a PE image, or a 64-bit one; an output path that cannot be
// created. Then the scanner of the mode runs; "UTF8[全部]" with only plain
// English runs the ANSI whole-file scanner.
JobStatus runExtraction(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        bool anyClassBoxOn, ExtractionMode mode, const ExtractionSettings& settings,
                        Reporter& reporter);

} // namespace kestrin
