#pragma once

// The frame shared by every extraction job: open the program file (mapped
// whole, or streamed in blocks for the searches that read it as they go), run
// the search, write the comparison file with a crash-safe write that takes
// the entries as they come, and show the one completion message.

#include "core/reporter.h"
#include "extract/extraction_settings.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kestrin {

class AtomicFileWriter;
class StreamedFile;

// The entries of one scan. On its own it collects them all; given a writer it
// passes them on a few MB at a time, so its memory does not grow with the
// output.
class EntryBuffer {
public:
    explicit EntryBuffer(const ExtractionSettings& settings, AtomicFileWriter* writer = nullptr)
        : settings_(settings), writer_(writer) {}

    // Offers a validated candidate found at a 0-based file offset; the
    // filters and the minimum length decide whether it becomes an entry.
    void offer(std::int64_t offset, std::string_view candidate);

    // The entries not yet passed on.
    const std::string& bytes() const { return bytes_; }
    // Passes the rest on; false when any write to the writer failed.
    bool flush();

private:
    const ExtractionSettings& settings_;
    AtomicFileWriter* writer_;
    std::string bytes_;
    bool writeFailed_ = false;
};

// A string found by its header: the 0-based offset of its first character and
// its length as the header gives it (characters or bytes by string kind).
struct StringCandidate {
    std::int64_t textOffset;
    std::int32_t length;
};

// Number of 4096-byte blocks of a file of this size (a part block counts).
std::int64_t blockCount(std::size_t size);

// Progress counted by 4096-byte blocks: one step whenever an examined
// candidate's terminator lies at or beyond the next block boundary, however
// many blocks the search has jumped over.
class BlockProgress {
public:
    BlockProgress(Reporter& reporter, std::size_t fileSize);

    // terminator: 1-based position of the candidate's terminator.
    void step(std::size_t terminator) {
        if (terminator >= threshold_) {
            reporter_.advance(1);
            threshold_ += 4096;
        }
    }
    std::int64_t maximum() const { return maximum_; }

private:
    Reporter& reporter_;
    std::int64_t maximum_;
    std::size_t threshold_ = 4096;
};

// A search over the file image that offers its entries in ascending order of
// offset and drives the progress bar.
using ImageSearch = std::function<void(std::string_view image, const ExtractionSettings& settings,
                                       EntryBuffer& entries, Reporter& reporter)>;

struct ScanFrameOptions {
    std::string_view messageHead;   // the completion message before the elapsed seconds
    bool fillProgressAtEnd = false; // set the bar to its maximum before the message
};

// Reads the program file, runs the search, writes the entries over the output
// path and shows the completion message. A program file that cannot be read
// (or that gets shorter while it is read) shows the read failure message and
// leaves the output path untouched; a failed write shows the write failure
// message.
JobStatus runScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                       const ExtractionSettings& settings, Reporter& reporter, const ScanFrameOptions& options, const ImageSearch& search);

// A search that reads the file as it goes.
using StreamedSearch = std::function<void(StreamedFile& file, const ExtractionSettings& settings,
                                          EntryBuffer& entries, Reporter& reporter)>;

// The same frame around a search that reads the file as it goes.
JobStatus runStreamedScanFrame(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                               const ExtractionSettings& settings, Reporter& reporter,
                               const ScanFrameOptions& options, const StreamedSearch& search);

} // namespace kestrin
