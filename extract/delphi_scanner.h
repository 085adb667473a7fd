#pragma once

// Delphi string constants: a reference-count marker FF FF FF FF, a signed
// 32-bit length, the characters and a terminator. The ANSI kind counts bytes
// and ends with one 0x00; the UTF-16 kind counts units and ends with 00 00.

#include "core/reporter.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kestrin {

// The headers whose length agrees with the terminator, in file order.
std::vector<StringCandidate> findDelphiAsciiCandidates(std::string_view image);
std::vector<StringCandidate> findDelphiUtf16Candidates(std::string_view image);

// Validates the candidates and offers their entries; one progress step each.
void searchDelphiAscii(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter);
void searchDelphiUtf16(std::string_view image, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter);

// The jobs of the modes "Delphi字串[ASCII]" and "Delphi字串[Unicode]".
JobStatus scanDelphiAscii(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                          const ExtractionSettings& settings, Reporter& reporter);
JobStatus scanDelphiUtf16(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                          const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
