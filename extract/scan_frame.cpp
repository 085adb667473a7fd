#include "extract/scan_frame.h"

#include "core/elapsed.h"
#include "core/file_io.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"

#include <optional>

namespace kestrin {

void EntryBuffer::offer(std::int64_t offset, std::string_view candidate) {
    appendEntry(bytes_, offset, candidate, settings_);
}

std::int64_t blockCount(std::size_t size) {
    return static_cast<std::int64_t>(size / 4096 + (size % 4096 != 0 ? 1 : 0));
}

BlockProgress::BlockProgress(Reporter& reporter, std::size_t fileSize)
    : reporter_(reporter), maximum_(blockCount(fileSize)) {
    reporter_.setMaximum(maximum_);
}

JobStatus runScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                       const ExtractionSettings& settings, Reporter& reporter, const ScanFrameOptions& options, const ImageSearch& search) {
    const Stopwatch stopwatch;
    const std::optional<std::string> image = tryReadFileBytes(programPath);
    if (!image) {
        reporter.reset();
        reporter.showMessage(programReadFailedMessage(programPath));
        return JobStatus::Stopped;
    }

    EntryBuffer entries(settings);
    search(*image, settings, entries, reporter);

    if (!writeFileAtomic(outputPath, entries.bytes())) {
        reporter.reset();
        reporter.showMessage(writeFailedMessage(outputPath));
        return JobStatus::Stopped;
    }
    if (options.fillProgressAtEnd) reporter.setPosition(blockCount(image->size()));
    reporter.showMessage(completionMessage(options.messageHead, stopwatch.seconds()));
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace kestrin
