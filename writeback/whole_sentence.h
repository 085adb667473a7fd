#pragma once

// Whole-sentence replacement: each original is replaced by its translation
// whatever their lengths, and everything behind it moves.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// A program image being rebuilt by replacements. Replacements that come in
// ascending order are appended to one output buffer in a single pass; one that
// lies before the end of the output so far first folds the output back into
// the image, so any order gives the same result as editing the image itself.
class SentenceImage {
public:
    explicit SentenceImage(std::string image);

    std::uint64_t size() const { return output_.size() + (source_.size() - consumed_); }

    // Up to length bytes of the current image from position on (fewer at the
    // end, none past it). The view may point into scratch.
    std::string_view bytesAt(std::int64_t position, std::size_t length, std::string& scratch) const;

    // Replaces length bytes at position (which must lie inside the image).
    void replace(std::uint64_t position, std::size_t length, std::string_view replacement);

    // Index of the first occurrence of part at or after position; npos if none.
    std::uint64_t find(std::string_view part, std::uint64_t position);

    // The finished image; the object is empty afterwards.
    std::string take();

private:
    void fold();

    std::string source_;
    std::size_t consumed_ = 0; // source bytes already copied or replaced into output_
    std::string output_;
};

// Replaces the first occurrence of originalEncoded at or after
// offset + positionShift by translationEncoded and returns the new shift. An
// empty original is passed over and leaves the shift as it was.
std::int64_t replaceWholeSentence(SentenceImage& image, std::uint64_t offset, std::string_view originalEncoded,
                                  std::string_view translationEncoded, std::int64_t positionShift);

} // namespace kestrin
