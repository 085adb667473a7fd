#include "extract/ansi_scanner.h"

#include "core/elapsed.h"
#include "core/file_io.h"
#include "extract/char_classes.h"
#include "extract/entry_emission.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kestrin {

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

} // namespace

AnsiStringFinder::AnsiStringFinder(const ExtractionSettings& settings, std::string& out)
    : settings_(settings), out_(out) {}

std::size_t AnsiStringFinder::runStartOf(std::string_view piece, std::size_t from, bool open, bool& openLead) const {
    const auto& printable = printableByteTable();
    const auto* b = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t n = piece.size();
    openLead = false;
    if (settings_.textClassMode != TextClassMode::Mixed) {
        // Plain text: the run starts after the last byte that is not printable.
        std::size_t i = n;
        while (i > from && printable[b[i - 1]]) --i;
        return i > from ? i : 0;
    }
    const int cls = settings_.doubleByteClass;
    std::size_t runStart = 0;
    std::size_t i = from;
    while (i < n) {
        const unsigned char c = b[i];
        if (printable[c]) {
            ++i;
        } else if (c <= 0x80) {
            runStart = ++i;
        } else if (i + 1 == n) {
            if (open) {
                openLead = true;
                break;
            }
            runStart = ++i;
        } else if (isValidDoubleByte(c, b[i + 1], cls)) {
            i += 2;
        } else {
            // An invalid pair: the byte after the lead is examined on its own.
            runStart = ++i;
        }
    }
    return runStart;
}

void AnsiStringFinder::emit(std::int64_t offset, std::string_view run) {
    if (run.empty() || static_cast<std::int64_t>(run.size()) < settings_.minLength) return;
    if (settings_.textClassMode == TextClassMode::Mixed && run.find('\\') != std::string_view::npos) {
        // Mark the backslash trail bytes: the run starts on a character.
        marked_.assign(run);
        for (std::size_t i = 0; i < marked_.size(); ++i) {
            if (static_cast<unsigned char>(marked_[i]) >= 0x81) {
                ++i;
                if (marked_[i] == '\\') marked_[i] = kTrailBackslashMarker;
            }
        }
        appendEntry(out_, offset, marked_, settings_);
        return;
    }
    appendEntry(out_, offset, run, settings_);
}

void AnsiStringFinder::trimCarry() {
    bool openLead = false;
    const std::size_t start = runStartOf(carry_, walkFrom_, true, openLead);
    carry_.erase(0, start);
    carryOffset_ += static_cast<std::int64_t>(start);
    walkFrom_ = openLead ? carry_.size() - 1 : carry_.size();
}

void AnsiStringFinder::feed(std::string_view block) {
    const char* data = block.data();
    const std::size_t n = block.size();
    const std::int64_t blockOffset = offset_;
    offset_ += static_cast<std::int64_t>(n);
    std::size_t pos = 0;
    bool openLead = false;

    if (carrying_) {
        // The piece carried from before goes on up to the first zero here.
        const void* zero = std::memchr(data, 0, n);
        const std::size_t end = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : n;
        carry_.append(data, end);
        if (zero == nullptr) {
            trimCarry();
            return;
        }
        const std::size_t start = runStartOf(carry_, walkFrom_, false, openLead);
        emit(carryOffset_ + static_cast<std::int64_t>(start), std::string_view(carry_).substr(start));
        carry_.clear();
        carrying_ = false;
        pos = end + 1;
    }

    while (pos < n) {
        const void* zero = std::memchr(data + pos, 0, n - pos);
        if (zero == nullptr) break;
        const auto z = static_cast<std::size_t>(static_cast<const char*>(zero) - data);
        if (z > pos) {
            const std::string_view piece(data + pos, z - pos);
            const std::size_t start = runStartOf(piece, 0, false, openLead);
            emit(blockOffset + static_cast<std::int64_t>(pos + start), piece.substr(start));
        }
        pos = z + 1;
    }
    if (pos < n) {
        // An unfinished piece: keep its current run only.
        carrying_ = true;
        carry_.assign(data + pos, n - pos);
        carryOffset_ = blockOffset + static_cast<std::int64_t>(pos);
        walkFrom_ = 0;
        trimCarry();
    }
}

JobStatus scanAnsiWholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                            const ExtractionSettings& settings, Reporter& reporter) {
    const Stopwatch stopwatch;
    const int fd = programPath.empty() ? -1 : ::open(programPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        reporter.reset();
        reporter.showMessage(programReadFailedMessage(programPath));
        return JobStatus::Stopped;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    reporter.setMaximum(static_cast<std::int64_t>(size / 4096 + (size % 4096 != 0 ? 1 : 0)));
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    std::string entries;
    AnsiStringFinder finder(settings, entries);
    std::string block(kBlock, '\0');
    std::uint64_t done = 0;
    bool readFailed = false;
    while (true) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            readFailed = true;
            break;
        }
        if (got == 0) break;
        finder.feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
        const std::uint64_t before = done / 4096;
        done += static_cast<std::uint64_t>(got);
        const std::uint64_t after = done / 4096 + (done % 4096 != 0 ? 1 : 0);
        if (after > before) reporter.advance(static_cast<std::int64_t>(after - before));
    }
    ::close(fd);
    if (readFailed) {
        reporter.reset();
        reporter.showMessage(programReadFailedMessage(programPath));
        return JobStatus::Stopped;
    }
    if (!writeFileAtomic(outputPath, entries)) {
        reporter.reset();
        reporter.showMessage(writeFailedMessage(outputPath));
        return JobStatus::Stopped;
    }
    reporter.showMessage(completionMessage(kAsciiDoneHead, stopwatch.seconds()));
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace kestrin
