#include "writeback/whole_sentence.h"

#include "core/huge_pages.h"

#include <algorithm>

namespace kestrin {

SentenceImage::SentenceImage(std::string image) : source_(std::move(image)) {}

std::string_view SentenceImage::bytesAt(std::int64_t position, std::size_t length, std::string& scratch) const {
    if (position < 0 || static_cast<std::uint64_t>(position) >= size()) return {};
    const auto pos = static_cast<std::uint64_t>(position);
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size() - pos));
    const std::string_view out(output_);
    const std::string_view rest = std::string_view(source_).substr(consumed_);
    if (pos >= out.size()) return rest.substr(pos - out.size(), length);
    if (pos + length <= out.size()) return out.substr(pos, length);
    scratch.assign(out.substr(pos));
    scratch.append(rest.substr(0, length - scratch.size()));
    return scratch;
}

void SentenceImage::fold() {
    output_.append(source_, consumed_, std::string::npos);
    source_.swap(output_);
    std::string().swap(output_); // releases the old image's buffer
    consumed_ = 0;
}

void SentenceImage::replace(std::uint64_t position, std::size_t length, std::string_view replacement) {
    if (position < output_.size()) fold();
    const std::size_t gap = static_cast<std::size_t>(position - output_.size());
    if (output_.capacity() < source_.size()) {
        const std::size_t room = source_.size() + source_.size() / 8;
        output_.reserve(room);
        adviseHugePages(output_.data(), room);
    }
    output_.append(source_, consumed_, gap);
    output_.append(replacement);
    consumed_ += gap + length;
}

std::uint64_t SentenceImage::find(std::string_view part, std::uint64_t position) {
    if (position < output_.size()) fold();
    const std::size_t at = std::string_view(source_).find(part, consumed_ + (position - output_.size()));
    if (at == std::string::npos) return std::string::npos;
    return output_.size() + (at - consumed_);
}

std::string SentenceImage::take() {
    fold();
    std::string image;
    image.swap(source_);
    return image;
}

std::int64_t replaceWholeSentence(SentenceImage& image, std::uint64_t offset, std::string_view originalEncoded,
                                  std::string_view translationEncoded, std::int64_t positionShift) {
    if (originalEncoded.empty()) return positionShift;
    const std::int64_t start = static_cast<std::int64_t>(offset) + positionShift;
    if (start < 0) return positionShift;
    std::string scratch;
    std::uint64_t at = static_cast<std::uint64_t>(start);
    if (image.bytesAt(start, originalEncoded.size(), scratch) != originalEncoded) {
        at = image.find(originalEncoded, at);
        if (at == std::string::npos) return positionShift;
    }
    image.replace(at, originalEncoded.size(), translationEncoded);
    return positionShift + static_cast<std::int64_t>(translationEncoded.size()) -
           static_cast<std::int64_t>(originalEncoded.size());
}

} // namespace kestrin
