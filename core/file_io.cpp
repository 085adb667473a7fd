#include "core/file_io.h"

#include "core/atomic_file_writer.h"
#include "core/huge_pages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace kestrin {

namespace fs = std::filesystem;

int openRegularFile(const fs::path& path, std::uint64_t& size) {
    if (path.empty()) return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

std::optional<std::string> tryReadFileBytes(const fs::path& path) {
    std::uint64_t size = 0;
    const int fd = openRegularFile(path, size);
    if (fd < 0) return std::nullopt;
    // One spare byte lets the read that finds the end return 0 without
    // growing (and so copying) the buffer; a file that grew meanwhile still
    // grows it. Large buffers get huge pages: far fewer page faults.
    std::string content;
    const auto expected = static_cast<std::size_t>(size) + 1;
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

bool writeFileAtomic(const fs::path& path, std::initializer_list<std::string_view> parts) {
    AtomicFileWriter writer(path);
    if (!writer.open()) return false;
    for (auto part : parts) {
        if (!writer.append(part)) return false;
    }
    return writer.commit();
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
    if (ok) {
        AtomicFileWriter writer(target);
        ok = writer.open() && writer.appendFrom(in) && writer.commit();
    }
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

} // namespace kestrin
