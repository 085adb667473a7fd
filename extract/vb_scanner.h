#pragma once

// VB string constants: a 32-bit length in bytes below 65536 (so its upper
// two bytes are 00 00), the UTF-16LE text and a 00 00 terminator. They are
// found by the zero half of the length field.

#include "core/reporter.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kestrin {

// The length fields whose text and terminator agree, in file order. In plain
// text the first unit needs a non-zero first byte, in mixed text a non-zero
// unit.
std::vector<StringCandidate> findVbCandidates(std::string_view image, const ExtractionSettings& settings);

// Validates the candidates and offers their entries; one progress step each.
void searchVbStrings(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                     Reporter& reporter);

// The job of the mode "VB字串[Unicode]".
JobStatus scanVbStrings(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
