#pragma once

// Zero-terminated UTF-8 strings anywhere in a file of any kind: printable
// single bytes and three-byte sequences of the selected double-byte class.

#include "core/reporter.h"
#include "extract/byte_sources.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

// The code page 936 form (two bytes, a 0x5C trail byte carried as the marker
// 0x08) of one three-byte UTF-8 sequence whose character belongs to the
// selected double-byte class; empty otherwise (invalid or overlong sequence,
// surrogate, lead of 0xF0 or more, character outside the class).
std::string convertUtf8Sequence(unsigned char lead, unsigned char second, unsigned char third,
                                const ExtractionSettings& settings);

// The last run of acceptable characters that reaches the end of the segment,
// as ANSI bytes; empty when there is none, when the segment's last byte is
// neither printable nor the end of an accepted sequence, or when a lead byte
// stands among its last two bytes. start (0-based) moves to the run's first
// byte. Only mixed text has UTF-8 strings: in plain text the result is empty.
std::string extractUtf8Run(std::string_view segment, std::int64_t& start, const ExtractionSettings& settings);

// Offers the entries of every UTF-8 string of the image, in ascending order
// of offset; progress by 4096-byte blocks.
void searchUtf8Strings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter);
// The same search reading the file as it goes.
void streamUtf8Strings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter);

// The job of the mode "UTF8[全部]" in mixed text.
JobStatus scanUtf8WholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                            const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
