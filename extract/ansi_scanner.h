#pragma once

// Zero-terminated ANSI strings anywhere in a file of any kind: for every run
// of non-zero bytes that a zero byte ends, the longest stretch of valid
// characters that reaches the zero byte. A run at the end of the file without
// a zero after it gives nothing.
//
// The file is read as a stream in blocks and the entries are written out as
// they come; memory is bounded by the block and the longest string.

#include "core/reporter.h"
#include "extract/byte_sources.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

// Finds the strings of a stream fed block by block; feeds may split the file
// anywhere. Offers its entries to the buffer it is given.
class AnsiStringFinder {
public:
    AnsiStringFinder(const ExtractionSettings& settings, EntryBuffer& out);

    void feed(std::string_view block);

private:
    // Index within piece where its trailing run starts (piece.size() when
    // empty), walking from index from (a character boundary) with the run
    // starting at 0. For a piece that goes on (open), a lead byte at its end
    // stays in the run and openLead tells so.
    std::size_t runStartOf(std::string_view piece, std::size_t from, bool open, bool& openLead) const;
    void emit(std::int64_t offset, std::string_view run);
    void trimCarry();
    // The region [start, z) that the zero byte at block index z ends; start
    // is a file offset, maybe inside the carried bytes.
    void finishRegion(const char* data, std::int64_t blockOffset, std::size_t z);

    const ExtractionSettings& settings_;
    EntryBuffer& out_;
    std::int64_t offset_ = 0; // file offset of the next byte fed
    // The bytes after the last break up to the end of the bytes fed so far
    // (carryOffset_ = lastBreak_ + 1 while they are kept); walkFrom is where
    // the walk of mixed text resumes in them.
    std::int64_t lastBreak_ = -1; // file offset of the last zero or run-breaking byte
    std::string carry_;
    std::int64_t carryOffset_ = 0;
    std::size_t walkFrom_ = 0;
    std::string marked_;
};

// Feeds the whole file to a finder, block by block; progress by 4096-byte
// blocks.
void streamAnsiStrings(StreamedFile& file, const ExtractionSettings& settings, EntryBuffer& entries,
                       Reporter& reporter);

// The job of "ASCII[全部]" (and of "UTF8[全部]" with plain English only).
JobStatus scanAnsiWholeFile(const std::filesystem::path& programPath, const std::filesystem::path& outputPath,
                            const ExtractionSettings& settings, Reporter& reporter);

} // namespace kestrin
