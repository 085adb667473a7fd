#include "extract/extraction_job.h"

#include "core/file_io.h"
#include "extract/ansi_scanner.h"
#include "extract/delphi_scanner.h"
#include "extract/extraction_messages.h"
#include "extract/pe_layout.h"
#include "extract/utf16_scanner.h"
#include "extract/utf8_scanner.h"
#include "extract/va_scanner.h"
#include "extract/vb_scanner.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace kestrin {

namespace {

// Reads up to length bytes at offset; bytes past the end stay zero.
std::string readAt(int fd, std::uint64_t offset, std::size_t length) {
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd, bytes.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return bytes;
}

// Whether a file can be created at the output path: not a folder, in a folder
// that exists and takes new files. Nothing is left behind.
bool outputCreatable(const std::filesystem::path& outputPath) {
    std::error_code ec;
    if (std::filesystem::is_directory(outputPath, ec)) return false;
    std::filesystem::path folder = outputPath.parent_path();
    if (folder.empty()) folder = ".";
    if (!std::filesystem::is_directory(folder, ec)) return false;
    const std::filesystem::path probe =
        folder / ("." + outputPath.filename().string() + ".kestrin-probe-" + std::to_string(::getpid()));
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EEXIST;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

JobStatus refuse(Reporter& reporter, const std::string& message) {
    reporter.reset();
    reporter.showMessage(message);
    return JobStatus::Stopped;
}

} // namespace

JobStatus runExtraction(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                        bool anyClassBoxOn, ExtractionMode mode, const ExtractionSettings& settings,
                        Reporter& reporter) {
    if (programPath.empty() || outputPath.empty()) return refuse(reporter, std::string(kMissingPathsMessage));
    if (!anyClassBoxOn) return refuse(reporter, std::string(kNoClassMessage));

    std::uint64_t size = 0;
    const int fd = openRegularFile(programPath, size);
    if (fd < 0) return refuse(reporter, programReadFailedMessage(programPath));
    if (!settings.skipPeCheck) {
        // Only the header bytes are read.
        const PeKind kind =
            peKindOf(size, [fd](std::uint64_t offset, std::size_t length) { return readAt(fd, offset, length); });
        if (kind != PeKind::Pe32) {
            ::close(fd);
            return refuse(reporter, std::string(kind == PeKind::Pe64 ? kPe64Message : kNotPeMessage));
        }
    }
    ::close(fd);
    if (!outputCreatable(outputPath)) return refuse(reporter, outputOpenFailedMessage(outputPath));

    switch (mode) {
    case ExtractionMode::AsciiVa: return scanVaStrings(programPath, outputPath, false, settings, reporter);
    case ExtractionMode::AsciiWhole: return scanAnsiWholeFile(programPath, outputPath, settings, reporter);
    case ExtractionMode::Utf16Va: return scanVaStrings(programPath, outputPath, true, settings, reporter);
    case ExtractionMode::Utf16Whole: return scanUtf16WholeFile(programPath, outputPath, settings, reporter);
    case ExtractionMode::DelphiAscii: return scanDelphiAscii(programPath, outputPath, settings, reporter);
    case ExtractionMode::DelphiUtf16: return scanDelphiUtf16(programPath, outputPath, settings, reporter);
    case ExtractionMode::VbUtf16: return scanVbStrings(programPath, outputPath, settings, reporter);
    case ExtractionMode::Utf8Whole:
        if (settings.textClassMode == TextClassMode::AsciiOnly)
            return scanAnsiWholeFile(programPath, outputPath, settings, reporter);
        return scanUtf8WholeFile(programPath, outputPath, settings, reporter);
    }
    // A mode outside the list: nothing to run.
    return refuse(reporter, std::string(kNoClassMessage));
}

} // namespace kestrin
