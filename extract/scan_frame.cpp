#include "extract/scan_frame.h"

#include "core/atomic_file_writer.h"
#include "core/elapsed.h"
#include "core/file_image.h"
#include "extract/byte_sources.h"
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

// The frame around any source of the program's bytes: Source has size() and
// intact() (false when the file got shorter while it was read).
template <class Source, class Search>
JobStatus runFrame(std::optional<Source> source, const std::filesystem::path& programPath,
                   const std::filesystem::path& outputPath, const ExtractionSettings& settings, Reporter& reporter,
                   const ScanFrameOptions& options, const Stopwatch& stopwatch, const Search& search) {
    if (!source) return stop(reporter, programReadFailedMessage(programPath));
    AtomicFileWriter writer(outputPath);
    if (!writer.open()) return stop(reporter, writeFailedMessage(outputPath));

    EntryBuffer entries(settings, &writer);
    search(*source, entries);

    // A file shortened while it was read gave bytes that are not its own.
    if (!source->intact()) return stop(reporter, programReadFailedMessage(programPath));
    if (!entries.flush() || !writer.commit()) return stop(reporter, writeFailedMessage(outputPath));
    if (options.fillProgressAtEnd) reporter.setPosition(blockCount(source->size()));
    reporter.showMessage(completionMessage(options.messageHead, stopwatch.seconds()));
    reporter.reset();
    return JobStatus::Completed;
}

} // namespace

JobStatus runScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                       const ExtractionSettings& settings, Reporter& reporter, const ScanFrameOptions& options, const ImageSearch& search) {
    const Stopwatch stopwatch;
    return runFrame(FileImage::open(programPath), programPath, outputPath, settings, reporter, options, stopwatch,
                    [&](FileImage& image, EntryBuffer& entries) { search(image.bytes(), settings, entries, reporter); });
}

JobStatus runStreamedScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                               const ExtractionSettings& settings, Reporter& reporter,
                               const ScanFrameOptions& options, const StreamedSearch& search) {
    const Stopwatch stopwatch;
    return runFrame(StreamedFile::open(programPath), programPath, outputPath, settings, reporter, options, stopwatch,
                    [&](StreamedFile& file, EntryBuffer& entries) { search(file, settings, entries, reporter); });
}

} // namespace kestrin
