#include "core/atomic_file_writer.h"

#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <random>
#include <string>

namespace kestrin {

namespace fs = std::filesystem;

namespace {

WriteFaultHook& faultHook() {
    static WriteFaultHook hook;
    return hook;
}

bool stageAllowed(WriteStage stage, const fs::path& target) {
    const auto& hook = faultHook();
    return !hook || hook(stage, target);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return ".kestrin-" + std::to_string(::getpid()) + "-" + std::to_string(seed % 100000) + "-" +
           std::to_string(counter++) + ".tmp";
}

} // namespace

void setWriteFaultHook(WriteFaultHook hook) { faultHook() = std::move(hook); }

AtomicFileWriter::AtomicFileWriter(fs::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { abort(); }

bool AtomicFileWriter::open() {
    if (fd_ >= 0 || target_.empty()) return false;
    std::error_code ec;
    if (fs::is_directory(target_, ec)) return false;
    fs::path folder = target_.parent_path();
    if (folder.empty()) folder = ".";
    temp_ = folder / (target_.filename().string() + uniqueSuffix());
    if (!stageAllowed(WriteStage::Create, target_)) return false;

    struct stat st {};
    targetExisted_ = ::stat(target_.c_str(), &st) == 0;
    if (targetExisted_) targetMode_ = st.st_mode & 07777;
    // A file that replaces another starts private and takes the old file's
    // permission bits at the end; a new file gets the usual ones.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, targetExisted_ ? 0600 : 0666);
    failed_ = fd_ < 0;
    writeChecked_ = false;
    return fd_ >= 0;
}

bool AtomicFileWriter::writeStageAllowed() {
    writeChecked_ = true;
    if (!failed_ && !stageAllowed(WriteStage::Write, target_)) failed_ = true;
    return !failed_;
}

bool AtomicFileWriter::append(std::string_view bytes) {
    if (fd_ < 0 || !writeStageAllowed()) return false;
    if (!writeAll(fd_, bytes)) failed_ = true;
    return !failed_;
}

bool AtomicFileWriter::appendFrom(int sourceFd) {
    if (fd_ < 0 || !writeStageAllowed()) return false;
    while (true) {
        const ssize_t n = ::copy_file_range(sourceFd, nullptr, fd_, nullptr, std::size_t{1} << 30, 0);
        if (n == 0) return true;
        if (n > 0) continue;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            failed_ = true;
            return false;
        }
        break;
    }
    std::string buffer(std::size_t{1} << 20, '\0');
    while (true) {
        const ssize_t n = ::read(sourceFd, buffer.data(), buffer.size());
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            return false;
        }
        if (!append(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return false;
    }
}

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    // An empty content still passes the write stage once.
    bool ok = writeChecked_ ? !failed_ : writeStageAllowed();
    if (ok) ok = stageAllowed(WriteStage::Sync, target_) && ::fsync(fd_) == 0;
    if (ok && targetExisted_) ok = ::fchmod(fd_, static_cast<mode_t>(targetMode_)) == 0;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = stageAllowed(WriteStage::Rename, target_) && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp_.c_str());
        return false;
    }
    // Make the rename itself durable.
    fs::path folder = target_.parent_path();
    if (folder.empty()) folder = ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void AtomicFileWriter::abort() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
}

} // namespace kestrin
