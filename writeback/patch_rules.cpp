#include "writeback/patch_rules.h"

#include "core/byte_text.h"
#include "writeback/entry_text.h"

#include <cstring>

namespace kestrin {
namespace {

// True when the count bytes from index on all exist and are zero.
bool zeroBytesAt(const std::string& image, std::uint64_t index, std::uint64_t count) {
    if (index > image.size() || count > image.size() - index) return false;
    const char* p = image.data() + index;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (p[i] != '\0') return false;
    }
    return true;
}

// The 32-bit little-endian field in the four bytes before offset, when they
// lie inside the image.
bool fieldHolds(const std::string& image, std::uint64_t offset, std::uint64_t value) {
    if (offset < 4 || offset > image.size()) return false;
    return readUint32Le(image, static_cast<std::int64_t>(offset - 4)) == value;
}

void setField(std::string& image, std::uint64_t offset, std::uint64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) image[offset - 4 + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void updateLengthField(std::string& image, std::uint64_t offset, std::string_view original,
                       std::string_view translation, std::string_view originalEncoded,
                       std::string_view translationEncoded, TargetEncoding encoding, WriteBackMode mode) {
    if (encoding == TargetEncoding::Ansi) {
        if (offset < 5 || offset > image.size()) return;
        if (static_cast<unsigned char>(image[offset - 5]) != 0xFF) return;
        if (fieldHolds(image, offset, original.size())) setField(image, offset, translation.size());
    } else if (encoding == TargetEncoding::Utf16) {
        // Delphi counts UTF-16 code units, VB counts bytes; neither counts the terminator.
        const bool units = mode == WriteBackMode::WriteDelphiUnicode;
        auto lengthOf = [units](std::string_view x) -> std::uint64_t {
            const std::uint64_t bytes = x.size() - 2;
            return units ? bytes / 2 : bytes;
        };
        if (fieldHolds(image, offset, lengthOf(originalEncoded))) setField(image, offset, lengthOf(translationEncoded));
    }
}

// After a write: the length field follows the new text unless the string was
// padded with spaces, which keeps the original length.
PatchResult finishPatch(std::string& image, std::uint64_t offset, std::string_view original,
                        std::string_view translation, std::string_view originalEncoded,
                        std::string_view translationEncoded, TargetEncoding encoding,
                        const WriteBackSettings& settings) {
    if (settings.updateLengthPrefix && !settings.padWithSpaces) {
        updateLengthField(image, offset, original, translation, originalEncoded, translationEncoded, encoding,
                          settings.mode);
    }
    return PatchResult::Patched;
}

} // namespace

TargetEncoding targetEncodingFor(const WriteBackSettings& settings) {
    if (settings.mode == WriteBackMode::WriteUtf8) return TargetEncoding::Utf8;
    return settings.utf16Target ? TargetEncoding::Utf16 : TargetEncoding::Ansi;
}

std::string encodeForTarget(std::string_view decoded, TargetEncoding encoding) {
    switch (encoding) {
    case TargetEncoding::Utf16: return encodeUtf16(decoded, true);
    case TargetEncoding::Utf8: return encodeUtf8(decoded, true);
    case TargetEncoding::Ansi: break;
    }
    return std::string(decoded);
}

PatchResult patchEntryInPlace(std::string& image, std::uint64_t offset, std::string_view original,
                              std::string_view translation, std::string_view originalEncoded,
                              std::string_view translationEncoded, TargetEncoding encoding,
                              const WriteBackSettings& settings) {
    const std::uint64_t oldLength = originalEncoded.size();
    const std::uint64_t newLength = translationEncoded.size();
    if (newLength > oldLength) {
        if (!settings.borrowZeroBytes) return PatchResult::Overlong;
        // The zero bytes from the end of the original up to and including the
        // place of the longer translation's terminator; in ANSI the original's
        // own terminator is not part of originalEncoded, hence one more.
        const std::uint64_t required = newLength - oldLength + (encoding == TargetEncoding::Ansi ? 1 : 0);
        if (offset > image.size() || !zeroBytesAt(image, offset + oldLength, required)) return PatchResult::Overlong;
        std::memcpy(image.data() + offset, translationEncoded.data(), newLength);
    } else {
        // An empty original with an empty translation writes nothing, even at
        // an offset past the end. Otherwise the original was found at offset,
        // so its bytes lie inside the image.
        if (oldLength == 0) return finishPatch(image, offset, original, translation, originalEncoded,
                                               translationEncoded, encoding, settings);
        if (offset > image.size() || oldLength > image.size() - offset) return PatchResult::Overlong;
        const std::uint64_t padBytes = oldLength - newLength;
        const bool spaces = settings.padWithSpaces;
        char* at = image.data() + offset;
        std::size_t kept = newLength; // translation bytes before the padding
        std::size_t tail = 0;         // terminator bytes after the padding
        if (encoding == TargetEncoding::Utf8 && newLength >= 1) tail = 1;
        if (encoding == TargetEncoding::Utf16 && newLength >= 2) tail = 2;
        kept -= tail;
        std::memcpy(at, translationEncoded.data(), kept);
        for (std::uint64_t i = 0; i < padBytes; ++i) {
            // UTF-16 pads with 20 00 or 00 00: even bytes carry the space.
            const bool low = encoding != TargetEncoding::Utf16 || i % 2 == 0;
            at[kept + i] = (spaces && low) ? ' ' : '\0';
        }
        std::memcpy(at + kept + padBytes, translationEncoded.data() + kept, tail);
    }
    return finishPatch(image, offset, original, translation, originalEncoded, translationEncoded, encoding, settings);
}

} // namespace kestrin
