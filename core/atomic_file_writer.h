#pragma once

// A crash-safe write of a file whose content is produced piece by piece.
//
// The content goes to a temporary file in the target's folder; commit()
// syncs it, gives it the target's permission bits and renames it over the
// target, so the target is always either its old or its new content. A
// writer that is dropped before commit() removes its temporary file and
// leaves the target untouched.

#include <filesystem>
#include <string_view>

namespace kestrin {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false when the target is empty, a folder,
    // or its folder takes no new file.
    bool open();
    // Appends bytes; false (and the writer is spoilt) when the write fails.
    bool append(std::string_view bytes);
    // Appends the rest of an open file, in the kernel where it can.
    bool appendFrom(int sourceFd);
    // Makes the content the target's. False when the writer is spoilt or a
    // step fails; the target is then untouched and the temporary file gone.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void abort();

private:
    bool writeStageAllowed();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    bool failed_ = false;
    bool writeChecked_ = false;
    bool targetExisted_ = false;
    unsigned targetMode_ = 0;
};

} // namespace kestrin
