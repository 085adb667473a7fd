#pragma once

// The bytes a forward scan reads, from a whole image in memory or streamed
// from a file, behind one interface so that one scan serves both.
//
// A scan names the earliest offset it may still look at (keepFrom) and asks
// for the bytes it is about to read (ensure); the streamed source then holds
// only the bytes from that offset on, read in blocks into one buffer that it
// reuses. Streaming touches far less fresh memory than a whole image, which
// on a large file is most of the cost of the scan. Offsets are 0-based file
// offsets; pointers stay valid until the next ensure or search.

#include "extract/byte_search.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

class ImageBytes {
public:
    explicit ImageBytes(std::string_view image) : image_(image) {}

    std::size_t size() const { return image_.size(); }
    bool failed() const { return false; }
    void keepFrom(std::size_t) {}
    bool ensure(std::size_t) { return true; }
    const unsigned char* at(std::size_t offset) const {
        return reinterpret_cast<const unsigned char*>(image_.data()) + offset;
    }
    std::size_t findZero(std::size_t from) { return byte_search::findZero(image_, from); }
    std::size_t findNonZero(std::size_t from) { return byte_search::findNonZero(image_, from); }
    std::size_t findZeroPair(std::size_t from) { return byte_search::findZeroPair(image_, from); }

private:
    std::string_view image_;
};

class StreamedFile {
public:
    // The file, of the size it has now; nothing when it cannot be opened or
    // is not a regular file. blockSize: how much each read asks for.
    static std::optional<StreamedFile> open(const std::filesystem::path& path, std::size_t blockSize = kDefaultBlock);

    StreamedFile(StreamedFile&& other) noexcept;
    StreamedFile& operator=(StreamedFile&&) = delete;
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile();

    std::size_t size() const { return size_; }
    // True once a read failed or the file ended early; every search then
    // finds nothing and ensure refuses.
    bool failed() const { return failed_; }
    bool intact() const { return !failed_; }
    // The bytes before offset may be dropped.
    void keepFrom(std::size_t offset) { keep_ = offset; }
    // Holds the bytes up to end (at most the file's end) at once; false when
    // they cannot be read.
    bool ensure(std::size_t end);
    // The byte at offset, which must be held (kept and ensured).
    const unsigned char* at(std::size_t offset) const {
        return reinterpret_cast<const unsigned char*>(buffer_.data()) + (offset - base_);
    }
    std::size_t findZero(std::size_t from);
    std::size_t findNonZero(std::size_t from);
    std::size_t findZeroPair(std::size_t from);

    static constexpr std::size_t kDefaultBlock = std::size_t{1} << 20;

private:
    StreamedFile(int fd, std::size_t size, std::size_t blockSize);
    bool readBlock();
    std::string_view held() const { return {buffer_.data(), buffer_.size()}; }
    // Runs a search over the held bytes, reading on while it finds nothing;
    // lookBehind bytes before the end of what was searched are searched again
    // (a pair that straddles two reads).
    template <class Search>
    std::size_t searchOn(std::size_t from, std::size_t lookBehind, Search search);

    int fd_ = -1;
    std::size_t size_ = 0;
    std::size_t blockSize_ = kDefaultBlock;
    std::string buffer_; // bytes [base_, base_ + buffer_.size()) of the file
    std::size_t base_ = 0;
    std::size_t keep_ = 0;
    bool failed_ = false;
};

// Moves p, where a scan stands, past the zero bytes there (never past the
// file's last byte) and keeps the bytes from there on; false when they
// cannot be read.
template <class Bytes>
bool skipZeros(Bytes& bytes, std::size_t& p) {
    bytes.keepFrom(p);
    if (!bytes.ensure(p + 1)) return false;
    if (*bytes.at(p) == 0 && p + 1 < bytes.size()) {
        const std::size_t next = bytes.findNonZero(p);
        if (bytes.failed()) return false;
        p = next == byte_search::npos ? bytes.size() - 1 : next;
        bytes.keepFrom(p);
    }
    return true;
}

} // namespace kestrin
