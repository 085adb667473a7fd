#pragma once

// The bytes of a whole file for reading, without copying them: the file is
// mapped read-only where it can be (its pages come straight from the page
// cache, so a large file costs neither fresh memory nor a copy), else read
// into memory.
//
// A mapped file that another program shortens while it is read would make
// the pages past its new end fault. The image guards against that: such a
// page reads as zeros from then on and intact() turns false, so the job that
// reads it can refuse its result instead of crashing.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

class FileImage {
public:
    // The image of a regular file; nothing when it cannot be opened or read.
    static std::optional<FileImage> open(const std::filesystem::path& path);

    FileImage(FileImage&& other) noexcept;
    FileImage& operator=(FileImage&& other) noexcept;
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;
    ~FileImage();

    std::string_view bytes() const {
        return mapping_ != nullptr ? std::string_view(static_cast<const char*>(mapping_), size_) : copy_;
    }
    std::size_t size() const { return size_; }
    // False when part of a mapped file vanished while it was read; the bytes
    // read from then on are not the file's.
    bool intact() const;

private:
    FileImage() = default;
    void release();

    std::size_t size_ = 0;
    void* mapping_ = nullptr; // the mapping of size_ bytes, if mapped
    int guardSlot_ = -1;
    std::string copy_; // the bytes when the file is not mapped
};

} // namespace kestrin
