// The write-back on an arbitrary program image with an arbitrary comparison
// text, in every mode, in place and whole-sentence.
//
// Input: one option byte (mode, whole-sentence, spaces, length fields,
// borrowing, backup), one byte choosing a range or none, two bytes giving the
// image's length, the image, then the comparison text.
//
// Properties: exactly one message; a stop leaves the program file as it was
// and writes no backup, restore copy or report; a completed in-place run keeps
// the image's size; a completed run leaves the old image in the restore copy
// (and in the backup when one was asked for).

#include "core/file_io.h"
#include "fuzz/fuzz_support.h"
#include "writeback/write_back_job.h"

#include <cstdint>
#include <string>

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader input(data, size);
    const std::uint8_t options = input.takeByte();
    const std::uint8_t range = input.takeByte();
    std::size_t imageSize = input.takeByte();
    imageSize |= static_cast<std::size_t>(input.takeByte()) << 8;
    if (imageSize > input.rest.size()) imageSize = input.rest.size();
    const std::string image(input.rest.substr(0, imageSize));
    const std::string comparison(input.rest.substr(imageSize));

    fuzz::clearRunFolder();
    const auto program = fuzz::runFolder() / "p.exe";
    const auto comparisonPath = fuzz::runFolder() / "p.exe.txt";
    fuzz::putFile(program, image);
    fuzz::putFile(comparisonPath, comparison);

    WriteBackSettings settings;
    applyWriteBackMode(options % kWriteBackModeCount, program, settings);
    settings.wholeSentence = (options & 0x08) != 0;
    settings.padWithSpaces = (options & 0x10) != 0;
    if (options & 0x20) settings.updateLengthPrefix = !settings.updateLengthPrefix;
    settings.borrowZeroBytes = (options & 0x40) == 0;
    const bool backup = (options & 0x80) != 0;
    if (range != 0) {
        settings.useRange = true;
        settings.rangeMinText = std::to_string(range & 0x0F) + "0";
        settings.rangeMaxText = std::to_string(range >> 4) + "00";
    }

    fuzz::CountingReporter reporter;
    const JobStatus status = runWriteBack(program, comparisonPath, settings, backup, reporter);
    reporter.expectOneMessage();

    const std::string after = fuzz::getFile(program);
    const auto bak = appendToPath(program, ".BAK");
    const auto report = appendToPath(comparisonPath, "_超长字串.txt");
    if (status == JobStatus::Stopped) {
        if (after != image) fuzz::fail("a stopped write-back changed the program file: " + reporter.message);
        if (fileExists(bak) || fileExists(report) || fileExists(restoreCopyPath()))
            fuzz::fail("a stopped write-back wrote a backup, report or restore copy: " + reporter.message);
    } else {
        if (!settings.wholeSentence && after.size() != image.size())
            fuzz::fail("an in-place write-back changed the image's size");
        if (fuzz::getFile(restoreCopyPath()) != image) fuzz::fail("the restore copy is not the old image");
        if (backup && fuzz::getFile(bak) != image) fuzz::fail("the backup is not the old image");
    }
    if (fuzz::getFile(comparisonPath) != comparison) fuzz::fail("the write-back changed the comparison file");
    return 0;
}
