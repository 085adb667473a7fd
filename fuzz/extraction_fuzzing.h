#pragma once

// What the two extraction fuzz targets share: options taken from the last byte
// of the input, and one checked run of the job.
//
// Properties: exactly one message; the program file is never changed; a
// refusal or stop leaves the output path as it was; a completed run writes a
// comparison file with the properties of checkExtractedComparison.

#include "core/file_io.h"
#include "extract/extraction_job.h"
#include "fuzz/comparison_invariants.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::fuzz {

// The class boxes, minimum lengths and filters, from one byte: bits 0-1 the
// double-byte class (none, GB2312, GBK, BIG5), bit 2 plain English off, bit 3
// junk filter, bit 4 quote escapes, bit 5 overlap filter off, bits 6-7 the
// minimum length (1, 2, 4, 9).
inline ExtractionSettings settingsFromByte(std::uint8_t options, bool& anyBoxOn) {
    ClassBoxStates boxes{(options & 0x04) == 0, false, false, false};
    if ((options & 0x03) != 0) boxes[options & 0x03] = true;
    static constexpr const char* kLengths[] = {"1", "2", "4", "9"};
    const char* length = kLengths[options >> 6];
    ExtractionSettings settings;
    deriveClassSettings(boxes, length, length, settings);
    settings.junkFilter = (options & 0x08) != 0;
    settings.escapeQuotes = (options & 0x10) != 0;
    settings.overlapFilter = (options & 0x20) == 0;
    anyBoxOn = anyClassBoxOn(boxes);
    return settings;
}

inline void checkedExtraction(std::string_view image, ExtractionMode mode, std::uint8_t options) {
    const auto program = runFolder() / "p.exe";
    const auto output = runFolder() / "p.exe.txt";
    const std::string before = "output before the run";
    putFile(program, image);
    putFile(output, before);

    bool anyBoxOn = false;
    ExtractionSettings settings = settingsFromByte(options, anyBoxOn);
    applyExtractionMode(mode, program, settings);

    CountingReporter reporter;
    const JobStatus status = runExtraction(program, output, anyBoxOn, mode, settings, reporter);
    reporter.expectOneMessage();
    if (getFile(program) != image) fail("the extraction changed the program file");
    const std::string written = getFile(output);
    if (status == JobStatus::Stopped) {
        if (written != before) fail("a refused extraction touched the output: " + reporter.message);
        return;
    }
    const std::string problem = checkExtractedComparison(written);
    if (!problem.empty())
        fail("mode " + std::to_string(static_cast<int>(mode)) + ", options " + std::to_string(options) + ": " +
             problem);
}

} // namespace kestrin::fuzz
