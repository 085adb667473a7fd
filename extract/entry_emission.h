#pragma once

// The comparison entries the scanners write: filters, minimum length,
// escaping, and the entry layout CR LF, offset, ":", text, CR LF, text, CR LF.

#include "extract/extraction_messages.h"
#include "extract/extraction_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// Backslash doubled, then TAB, LF and CR as \t, \n, \r, then the trail
// backslash marker 0x08 back to one backslash, then (with escapeQuotes) a
// double quote as backslash and quote.
std::string escapeCandidate(std::string_view bytes, const ExtractionSettings& settings);

// The entry for a validated candidate found at the offset whose decimal text
// is offsetText, or empty when the candidate is dropped: by requireDoubleByte
// when it is all printable, else by junkFilter when it is junk, or when it is
// shorter than minLength (its length before escaping). A candidate that gets
// past the filters is replaced by its escaped form.
std::string makeEntry(std::string_view offsetText, std::string& candidate, const ExtractionSettings& settings);

// The same entry appended to out; answers whether one was appended. The
// candidate is left as it is.
bool appendEntry(std::string& out, std::int64_t offset, std::string_view candidate, const ExtractionSettings& settings);

} // namespace kestrin
