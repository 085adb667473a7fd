#include "core/file_io.h"

#include "core/huge_pages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

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

std::optional<std::string> tryReadFileBytes(const fs::path& path) {
    if (path.empty()) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // One spare byte lets the read that finds the end return 0 without
    // growing (and so copying) the buffer; a file that grew meanwhile still
    // grows it. Large buffers get huge pages: far fewer page faults.
    std::string content;
    const auto expected = static_cast<std::size_t>(st.st_size) + 1;
    content.reserve(expected);
    adviseHugePages(content.data(), expected);
    content.resize(expected);
    std::size_t got = 0;
    while (true) {
        if (got == content.size()) content.resize(content.size() + 65536);
        const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    content.resize(got);
    return content;
}

std::string readFileBytes(const fs::path& path) {
    auto content = tryReadFileBytes(path);
    return content ? std::move(*content) : std::string();
}

std::string readFileText(const fs::path& path) {
    std::string content = readFileBytes(path);
    const auto zero = content.find('\0');
    if (zero != std::string::npos) content.resize(zero);
    return content;
}

namespace {

// The crash-safe write: fill writes the new content into the temporary file.
bool writeAtomicWith(const fs::path& path, const std::function<bool(int fd)>& fill) {
    if (path.empty()) return false;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const fs::path temp = folder / (path.filename().string() + uniqueSuffix());

    if (!stageAllowed(WriteStage::Create, path)) return false;
    mode_t mode = 0666;
    struct stat st {};
    const bool existed = ::stat(path.c_str(), &st) == 0;
    if (existed) mode = st.st_mode & 07777;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666);
    if (fd < 0) return false;

    bool ok = stageAllowed(WriteStage::Write, path) && fill(fd);
    if (ok) ok = stageAllowed(WriteStage::Sync, path) && ::fsync(fd) == 0;
    if (ok && existed) ok = ::fchmod(fd, mode) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = stageAllowed(WriteStage::Rename, path) && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

// Copies the rest of source into target inside the kernel where it can,
// without holding the file in memory.
bool copyAll(int source, int target) {
    while (true) {
        const ssize_t n = ::copy_file_range(source, nullptr, target, nullptr, std::size_t{1} << 30, 0);
        if (n == 0) return true;
        if (n > 0) continue;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
        break;
    }
    std::string buffer(std::size_t{1} << 20, '\0');
    while (true) {
        const ssize_t n = ::read(source, buffer.data(), buffer.size());
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(target, std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return false;
    }
}

} // namespace

bool writeFileAtomic(const fs::path& path, std::initializer_list<std::string_view> parts) {
    return writeAtomicWith(path, [&parts](int fd) {
        for (auto part : parts) {
            if (!writeAll(fd, part)) return false;
        }
        return true;
    });
}

bool writeFileAtomic(const fs::path& path, std::string_view content) {
    return writeFileAtomic(path, {content});
}

bool copyFileAtomic(const fs::path& source, const fs::path& target) {
    if (source.empty()) return false;
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    bool ok = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) ok = writeAtomicWith(target, [in](int fd) { return copyAll(in, fd); });
    ::close(in);
    return ok;
}

bool fileExists(const fs::path& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

void deleteFile(const fs::path& path) {
    if (path.empty()) return;
    std::error_code ec;
    fs::remove(path, ec);
}

std::string pathText(const fs::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path appendToPath(const fs::path& path, std::string_view suffix) {
    fs::path result = path;
    result += std::string(suffix);
    return result;
}

std::string writeFailedMessage(const fs::path& path) {
    return "写入文件“" + pathText(path) + "”失败！原文件未被修改。";
}

fs::path temporaryFolder() {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return fs::path(tmp);
    std::error_code ec;
    auto folder = fs::temp_directory_path(ec);
    return ec ? fs::path("/tmp") : folder;
}

void setWriteFaultHook(WriteFaultHook hook) { faultHook() = std::move(hook); }

} // namespace kestrin
