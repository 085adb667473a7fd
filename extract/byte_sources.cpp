#include "extract/byte_sources.h"

#include "core/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kestrin {

using byte_search::npos;

std::optional<StreamedFile> StreamedFile::open(const std::filesystem::path& path, std::size_t blockSize) {
    std::uint64_t size = 0;
    const int fd = openRegularFile(path, size);
    if (fd < 0) return std::nullopt;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return StreamedFile(fd, static_cast<std::size_t>(size), std::max<std::size_t>(blockSize, 1));
}

StreamedFile::StreamedFile(int fd, std::size_t size, std::size_t blockSize)
    : fd_(fd), size_(size), blockSize_(blockSize) {}

StreamedFile::StreamedFile(StreamedFile&& other) noexcept
    : fd_(other.fd_), size_(other.size_), blockSize_(other.blockSize_), buffer_(std::move(other.buffer_)),
      base_(other.base_), keep_(other.keep_), failed_(other.failed_) {
    other.fd_ = -1;
}

StreamedFile::~StreamedFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool StreamedFile::readBlock() {
    const std::size_t loaded = base_ + buffer_.size();
    if (failed_ || loaded >= size_) return false;
    // Drop the bytes the scan has passed: what is kept moves to the front,
    // so the buffer stays about one block long while strings are short.
    if (keep_ > base_) {
        const std::size_t drop = std::min(keep_, loaded) - base_;
        buffer_.erase(0, drop);
        base_ += drop;
    }
    const std::size_t want = std::min(blockSize_, size_ - loaded);
    const std::size_t old = buffer_.size();
    buffer_.resize(old + want);
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd_, buffer_.data() + old + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A read error, or the file got shorter since it was opened.
            failed_ = true;
            buffer_.resize(old + got);
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool StreamedFile::ensure(std::size_t end) {
    end = std::min(end, size_);
    while (base_ + buffer_.size() < end) {
        if (!readBlock()) return false;
    }
    return !failed_;
}

template <class Search>
std::size_t StreamedFile::searchOn(std::size_t from, std::size_t lookBehind, Search search) {
    while (true) {
        if (from >= size_ || !ensure(from + 1 + lookBehind)) return npos;
        const std::size_t found = search(held(), from - base_);
        if (found != npos) return base_ + found;
        const std::size_t loaded = base_ + buffer_.size();
        if (loaded >= size_) return npos;
        from = std::max(from, loaded - lookBehind);
        keep_ = std::min(keep_, from);
        if (!readBlock()) return npos;
    }
}

std::size_t StreamedFile::findZero(std::size_t from) {
    return searchOn(from, 0, [](std::string_view bytes, std::size_t at) { return byte_search::findZero(bytes, at); });
}

std::size_t StreamedFile::findNonZero(std::size_t from) {
    return searchOn(from, 0, [](std::string_view bytes, std::size_t at) { return byte_search::findNonZero(bytes, at); });
}

std::size_t StreamedFile::findZeroPair(std::size_t from) {
    return searchOn(from, 1,
                    [](std::string_view bytes, std::size_t at) { return byte_search::findZeroPair(bytes, at); });
}

} // namespace kestrin
