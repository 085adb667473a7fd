#pragma once

// Zero-terminated UTF-16LE strings anywhere in a file of any kind.

#include "core/reporter.h"
#include "extract/byte_sources.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

// The last run of acceptable two-byte units that reaches the end of the
// piece, as ANSI bytes; empty when there is none. start (0-based offset of the
// piece's first byte) moves to the run's first byte.
//
// Plain text accepts a printable byte followed by 0x00; mixed text also the
// characters of the double-byte class, and keeps a piece that ends in one
// 0x00 after whole units. A refused unit restarts the run one byte later.
std::string extractUtf16TrailingRun(std::string_view piece, std::int64_t& start,
                                    const ExtractionSettings& settings);

// Offers the entries of every UTF-16 string of the image, in ascending
// order of offset; progress by 4096-byte blocks.
void searchUtf16Strings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                        Reporter& reporter);
// The same search reading the file as it goes.
void streamUtf16Strings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                        Reporter& reporter);

// The job of the mode "UniCode[全部]": reads the program file as it scans
// and writes the comparison file.
JobStatus scanUtf16WholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                             const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
