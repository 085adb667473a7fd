#include "extract/scan_frame.h"

#include "core/atomic_file_writer.h"
#include "core/elapsed.h"
#include "core/file_image.h"
#include "core/file_io.h"
#include "extract/entry_emission.h"
#include "extract/extraction_messages.h"

#include <optional>
#include <string>

namespace kestrin {

namespace {

constexpr std::size_t kFlushAt = std::size_t{4} << 20;

} // namespace

void EntryBuffer::offer(std::int64_t offset, std::string_view candidate) {
    appendEntry(bytes_, offset, candidate, settings_);
    if (writer_ != nullptr && bytes_.size() >= kFlushAt) flush();
}

bool EntryBuffer::flush() {
    if (writer_ == nullptr) return !writeFailed_;
    // After a failed write the entries are dropped: the job will fail anyway.
    if (!writeFailed_ && !writer_->append(bytes_)) writeFailed_ = true;
    bytes_.clear();
    return !writeFailed_;
}

std::int64_t blockCount(std::size_t size) {
    return static_cast<std::int64_t>(size / 4096 + (size % 4096 != 0 ? 1 : 0));
}

BlockProgress::BlockProgress(Reporter& reporter, std::size_t fileSize)
    : reporter_(reporter), maximum_(blockCount(fileSize)) {
    reporter_.setMaximum(maximum_);
}

namespace {

JobStatus stop(Reporter& reporter, const std::string& message) {
    reporter.reset();
    reporter.showMessage(message);
    return JobStatus::Stopped;
}

} // namespace

JobStatus runScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                       const ExtractionSettings& settings, Reporter& reporter, const ScanFrameOptions& options, const ImageSearch& search) {
    const Stopwatch stopwatch;
    const std::optional<FileImage> image = FileImage::open(programPath);
    if (!image) return stop(reporter, programReadFailedMessage(programPath));
    AtomicFileWriter writer(outputPath);
    if (!writer.open()) return stop(reporter, writeFailedMessage(outputPath));

    EntryBuffer entries(settings, &writer);
    search(image->bytes(), settings, entries, reporter);

    // A file shortened while it was read gave some zeros of its own: its
    // entries are not the file's.
    if (!image->intact()) return stop(reporter, programReadFailedMessage(programPath));
    if (!entries.flush() || !writer.commit()) return stop(reporter, writeFailedMessage(outputPath));
    if (options.fillProgressAtEnd) reporter.setPosition(blockCount(image->size()));
    reporter.showMessage(completionMessage(options.messageHead, stopwatch.seconds()));
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace kestrin
