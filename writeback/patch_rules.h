#pragma once

// In-place patching: a translation takes its original's place in the program
// image without moving any other byte, padded when shorter, run into free
// zero bytes when longer, with the Delphi and VB length fields kept in step.

#include "writeback/write_back_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

enum class TargetEncoding { Ansi, Utf16, Utf8 };

// UTF-8 for WriteUtf8, else UTF-16 when utf16Target, else ANSI.
TargetEncoding targetEncodingFor(const WriteBackSettings& settings);

// A decoded text in the target encoding: ANSI bytes as they are, UTF-16LE and
// UTF-8 with their terminator.
std::string encodeForTarget(std::string_view decoded, TargetEncoding encoding);

enum class PatchResult { Patched, Overlong };

// Writes the translation over the original found at offset. original and
// translation are the decoded ANSI texts, originalEncoded and
// translationEncoded the same in the target encoding. Overlong leaves the
// image unchanged.
PatchResult patchEntryInPlace(std::string& image, std::uint64_t offset, std::string_view original,
                              std::string_view translation, std::string_view originalEncoded,
                              std::string_view translationEncoded, TargetEncoding encoding,
                              const WriteBackSettings& settings);

} // namespace kestrin
