// Write failures injected through the file layer (a full disk at any stage,
// a folder that cannot be written, a rename that fails): every job that writes
// stops with the write-failed message, shows no completion message and leaves
// its target as it was.

#include "comparison/ini_export.h"
#include "comparison/ini_import.h"
#include "core/file_io.h"
#include "extract/extraction_job.h"
#include "tests/support/test_support.h"
#include "writeback/write_back_job.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kestrin::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::pair<WriteStage, const char*>> kStages = {
    {WriteStage::Create, "create"}, {WriteStage::Write, "write"},
    {WriteStage::Sync, "sync"},     {WriteStage::Rename, "rename"}};

// Fails the given stage of every write to one path while it lives.
class InjectedFault {
public:
    InjectedFault(fs::path target, WriteStage stage) {
        setWriteFaultHook([target = std::move(target), stage](WriteStage s, const fs::path& path) {
            return !(s == stage && path == target);
        });
    }
    ~InjectedFault() { setWriteFaultHook(nullptr); }
};

// Points the temporary folder (where the restore copy lives) into a scratch
// folder for the test's lifetime.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const fs::path& folder) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderOverride() {
        if (old_.empty()) ::unsetenv("TMPDIR");
        else ::setenv("TMPDIR", old_.c_str(), 1);
    }

private:
    std::string old_;
};

// A program image with two strings and a comparison file that translates both,
// the second one too long to fit, so that the run writes every file it can:
// report, backup, restore copy and program file.
struct WriteBackFixture {
    explicit WriteBackFixture(const fs::path& folder)
        : program(folder / "app.exe"), comparison(folder / "app.exe.a.txt"),
          report(appendToPath(comparison, "_超长字串.txt")), backup(appendToPath(program, ".BAK")) {
        image = std::string("\0\0\0\0Open\0\0\0\0Save\0Exit\0", 22);
        writeBytes(program, image);
        writeBytes(comparison, "\r\n4:Open\r\nAuf\r\n\r\n12:Save\r\nSpeichern\r\n");
        writeBytes(report, "old report");
        writeBytes(backup, "old backup");
        writeBytes(restoreCopyPath(), "old restore copy");
    }
    fs::path program, comparison, report, backup;
    std::string image;
};

TEST(WriteFaults, WriteBackStopsWithTheTargetUntouched) {
    for (const auto& [stage, stageName] : kStages) {
        for (const char* which : {"report", "backup", "restore copy", "program"}) {
            SCOPED_TRACE(std::string(which) + " fails at " + stageName);
            ScratchFolder scratch;
            TemporaryFolderOverride temp(scratch.path());
            WriteBackFixture f(scratch.path());
            const std::string w = which;
            const fs::path target = w == "report" ? f.report
                                  : w == "backup" ? f.backup
                                  : w == "restore copy" ? restoreCopyPath() : f.program;
            const std::string before = readBytes(target);

            RecordingReporter reporter;
            JobStatus status;
            {
                InjectedFault fault(target, stage);
                status = runWriteBack(f.program, f.comparison, WriteBackSettings{}, true, reporter);
            }
            EXPECT_EQ(status, JobStatus::Stopped);
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.message(), writeFailedMessage(target));
            EXPECT_EQ(readBytes(target), before);
            EXPECT_EQ(readBytes(f.program), f.image) << "the program file must stay as it was";
            for (const auto& entry : fs::directory_iterator(scratch.path()))
                EXPECT_FALSE(entry.path().extension() == ".tmp" && entry.path() != restoreCopyPath())
                    << "temporary file left behind: " << entry.path();
        }
    }
}

TEST(WriteFaults, WriteBackSucceedsWithoutInjectedFaults) {
    // The fixture really writes every file, so the faults above hit real writes.
    ScratchFolder scratch;
    TemporaryFolderOverride temp(scratch.path());
    WriteBackFixture f(scratch.path());
    RecordingReporter reporter;
    EXPECT_EQ(runWriteBack(f.program, f.comparison, WriteBackSettings{}, true, reporter), JobStatus::Completed)
        << reporter.message();
    EXPECT_EQ(readBytes(f.backup), f.image);
    EXPECT_EQ(readBytes(restoreCopyPath()), f.image);
    EXPECT_NE(readBytes(f.report), "old report");
    EXPECT_EQ(readBytes(f.program), std::string("\0\0\0\0Auf\0\0\0\0\0Save\0Exit\0", 22));
}

TEST(WriteFaults, FailedRestoreLeavesTheProgramAsItWas) {
    for (const auto& [stage, stageName] : kStages) {
        SCOPED_TRACE(stageName);
        ScratchFolder scratch;
        TemporaryFolderOverride temp(scratch.path());
        const auto program = scratch / "app.exe";
        writeBytes(program, "patched");
        writeBytes(restoreCopyPath(), "original");
        writeBytes(appendToPath(program, ".BAK"), "original");
        RecordingReporter reporter;
        JobStatus status;
        {
            InjectedFault fault(program, stage);
            status = restoreProgram(program, reporter);
        }
        EXPECT_EQ(status, JobStatus::Stopped);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_NE(reporter.message(), "还原成功！");
        EXPECT_EQ(readBytes(program), "patched");
        EXPECT_EQ(readBytes(restoreCopyPath()), "original");
        EXPECT_TRUE(fileExists(appendToPath(program, ".BAK"))) << "the backup goes only with a restore that worked";
    }
}

const std::string kComparison = "\r\n10:Open\r\nOpen\r\n\r\n20:Save\r\nSave\r\n";

TEST(WriteFaults, IniMergeStopsWithTheComparisonAndBackupUntouched) {
    for (const auto& [stage, stageName] : kStages) {
        for (const bool failBackup : {false, true}) {
            SCOPED_TRACE(std::string(failBackup ? "backup" : "comparison file") + " fails at " + stageName);
            ScratchFolder scratch;
            const auto comparison = scratch / "app.exe.a.txt";
            const auto ini = scratch / "app.exe.a.ini";
            const auto backup = appendToPath(comparison, ".BAK");
            writeBytes(comparison, kComparison);
            writeBytes(ini, "10=Auf\r\n20=Sichern\r\n");
            writeBytes(backup, "old backup");
            const fs::path target = failBackup ? backup : comparison;
            RecordingReporter reporter;
            JobStatus status;
            {
                InjectedFault fault(target, stage);
                status = mergeIniIntoComparison(comparison, ini, true, reporter);
            }
            EXPECT_EQ(status, JobStatus::Stopped);
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.message(), writeFailedMessage(target));
            EXPECT_EQ(readBytes(comparison), kComparison);
            if (failBackup) {
                EXPECT_EQ(readBytes(backup), "old backup");
            }
        }
    }
}

TEST(WriteFaults, IniExportStopsWithTheIniFileUntouched) {
    for (const auto& [stage, stageName] : kStages) {
        SCOPED_TRACE(stageName);
        ScratchFolder scratch;
        const auto comparison = scratch / "app.exe.a.txt";
        const auto ini = scratch / "app.exe.a.ini";
        writeBytes(comparison, kComparison);
        writeBytes(ini, "old ini");
        RecordingReporter reporter;
        JobStatus status;
        {
            InjectedFault fault(ini, stage);
            status = convertComparisonToIni(comparison, ini, reporter);
        }
        EXPECT_EQ(status, JobStatus::Stopped);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.message(), writeFailedMessage(ini));
        EXPECT_EQ(readBytes(ini), "old ini");
        EXPECT_EQ(readBytes(comparison), kComparison);
    }
}

TEST(WriteFaults, ExtractionStopsWithTheOutputUntouched) {
    // One whole-file mode and one address-based mode (a tiny PE image).
    const fs::path realProgram = fs::path(KESTRIN_SOURCE_DIR) / "tests/fixtures/real/ansi_table.exe";
    for (const auto mode : {ExtractionMode::AsciiWhole, ExtractionMode::AsciiVa, ExtractionMode::Utf16Whole}) {
        for (const auto& [stage, stageName] : kStages) {
            SCOPED_TRACE(std::string(extractionModeName(mode)) + ", output fails at " + stageName);
            ScratchFolder scratch;
            const auto program = scratch / "app.exe";
            const auto output = scratch / "app.exe.a.txt";
            fs::copy_file(realProgram, program);
            writeBytes(output, "old comparison file");
            ExtractionSettings settings;
            applyExtractionMode(mode, program, settings);
            RecordingReporter reporter;
            JobStatus status;
            {
                InjectedFault fault(output, stage);
                status = runExtraction(program, output, true, mode, settings, reporter);
            }
            EXPECT_EQ(status, JobStatus::Stopped);
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.message(), writeFailedMessage(output));
            EXPECT_EQ(readBytes(output), "old comparison file");
        }
    }
}

} // namespace
} // namespace kestrin::test
