#pragma once

// Strings referred to by virtual address in a 32-bit PE image: every 32-bit
// little-endian value anywhere in the file that falls inside the image's
// address range is mapped to a file offset, and each distinct offset is taken
// as the start of a zero-terminated string (ANSI or UTF-16LE).

#include "core/reporter.h"
#include "extract/extraction_settings.h"
#include "extract/pe_layout.h"
#include "extract/scan_frame.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// The sorted file offsets (duplicates kept) of every in-range value, found as
// a search in 4096-byte chunks that share 3 bytes: with an image base below
// 16 MiB a zero byte ends a candidate value only at the start of a run of
// zeros within a chunk (or as the chunk's last byte); bytes from the top byte
// of the image base to the top byte of the highest address end a value
// wherever they stand. One progress step per chunk.
std::vector<std::int32_t> scanVaReferences(std::string_view image, const PeLayout& layout, Reporter& reporter);

// The entries of the strings at the sorted references, in ascending order;
// with overlapFilter a reference inside the previous accepted string is
// skipped. Offers them to out, which holds the same settings.
void appendVaStrings(std::string_view image, const std::vector<std::int32_t>& references, bool utf16,
                     const ExtractionSettings& settings, EntryBuffer& out);

// The job of "ASCII[VA]" (utf16 false) and "UniCode[VA]" (utf16 true) on an
// image that passed the signature tests.
JobStatus scanVaStrings(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        bool utf16, const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
