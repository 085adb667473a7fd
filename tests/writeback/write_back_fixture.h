#pragma once

// A program file, its comparison file and a private temporary folder (where
// the restore copy goes) for write-back tests.

#include "core/file_io.h"
#include "tests/support/test_support.h"
#include "writeback/write_back_job.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kestrin::test {

// One comparison entry as extraction writes it: empty line, original line,
// translation line.
inline std::string entry(const std::string& number, const std::string& original, const std::string& translation) {
    return "\r\n" + number + ":" + original + "\r\n" + translation + "\r\n";
}

// ASCII text as UTF-16LE, built by hand so tests do not lean on the encoder.
inline std::string wide(const std::string& ascii, bool terminator = true) {
    std::string out;
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    if (terminator) out.append(2, '\0');
    return out;
}

class WriteBackTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR")) oldTmp_ = old;
        ::setenv("TMPDIR", temporary.path().c_str(), 1);
    }
    void TearDown() override {
        setWriteFaultHook(nullptr);
        if (oldTmp_) ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }

    // Fresh inputs; outputs of an earlier run in the same test are removed.
    void givenFiles(const std::string& image, const std::string& comparisonText) {
        deleteFile(backup());
        deleteFile(restoreCopyPath());
        deleteFile(report());
        imageBefore = image;
        writeBytes(program, image);
        writeBytes(comparison, comparisonText);
    }

    JobStatus run(const WriteBackSettings& settings, bool backup = true) {
        reporter = RecordingReporter();
        return runWriteBack(program, comparison, settings, backup, reporter);
    }

    static WriteBackSettings settingsFor(WriteBackMode mode) {
        WriteBackSettings settings;
        applyWriteBackMode(static_cast<int>(mode), "p", settings);
        return settings;
    }

    // After a stop: the program file is byte-identical and nothing else was written.
    void expectNothingWritten() {
        EXPECT_EQ(readBytes(program), imageBefore);
        EXPECT_FALSE(fileExists(backup()));
        EXPECT_FALSE(fileExists(restoreCopyPath()));
        EXPECT_FALSE(fileExists(report()));
    }

    std::filesystem::path backup() const { return appendToPath(program, ".BAK"); }
    std::filesystem::path report() const { return appendToPath(comparison, "_超长字串.txt"); }

    ScratchFolder scratch;
    ScratchFolder temporary;
    std::filesystem::path program = scratch / "app.exe";
    std::filesystem::path comparison = scratch / "app.exe.a.txt";
    std::string imageBefore;
    RecordingReporter reporter;

private:
    std::optional<std::string> oldTmp_;
};

} // namespace kestrin::test
