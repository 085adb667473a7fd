// Kills the command-line program at random moments while it rewrites a large
// file and checks that the file is always either its old or its new content.

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kestrin::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Starts the command-line program with TMPDIR pointing into the scratch
// folder (the write-back keeps its restore copy there); returns the child.
pid_t startCli(const std::vector<std::string>& arguments, const fs::path& tempFolder) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", tempFolder.c_str(), 1);
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, 0);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        std::vector<std::string> copies(arguments);
        std::string program = KESTRIN_CLI_PATH;
        std::vector<char*> argv{program.data()};
        for (auto& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

int waitExit(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct KillOutcome {
    int killedWhileRunning = 0;
    int oldContent = 0;
    int newContent = 0;
};

// Runs the job once to completion to learn its duration and its result, then
// `rounds` times: restores the inputs, starts the job, SIGKILLs it after a
// random delay and checks the target.
KillOutcome killRepeatedly(const std::vector<std::string>& arguments, const fs::path& target,
                           const std::vector<std::pair<fs::path, std::string>>& inputs,
                           const fs::path& tempFolder, int rounds) {
    const auto restoreInputs = [&] {
        for (const auto& [path, bytes] : inputs) writeBytes(path, bytes);
    };
    restoreInputs();
    const std::string oldContent = readBytes(target);
    const auto start = Clock::now();
    EXPECT_EQ(waitExit(startCli(arguments, tempFolder)), 0) << "the job must complete when left alone";
    const auto fullRun = Clock::now() - start;
    const std::string newContent = readBytes(target);
    EXPECT_NE(newContent, oldContent) << "the job must change the target, or the test shows nothing";

    std::mt19937 random(20261211);
    const auto limit = std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count();
    std::uniform_int_distribution<long long> delay(0, limit + limit / 5);
    KillOutcome outcome;
    for (int round = 0; round < rounds; ++round) {
        restoreInputs();
        const pid_t pid = startCli(arguments, tempFolder);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        const bool running = ::waitpid(pid, nullptr, WNOHANG) == 0;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        outcome.killedWhileRunning += running ? 1 : 0;
        const std::string now = readBytes(target);
        if (now == oldContent) {
            ++outcome.oldContent;
        } else if (now == newContent) {
            ++outcome.newContent;
        } else {
            ADD_FAILURE() << "round " << round << ": the target is neither old nor new (" << now.size()
                          << " bytes; old " << oldContent.size() << ", new " << newContent.size() << ")";
        }
    }
    return outcome;
}

// A program image of about 24 MB holding 150,000 zero-terminated strings, and a
// comparison file that translates every one of them (shorter, equal, longer).
void makeWriteBackInputs(std::string& image, std::string& comparison) {
    constexpr int kStrings = 150000;
    constexpr std::size_t kStride = 160;
    image.assign(kStrings * kStride, '\0');
    comparison.reserve(kStrings * 60);
    std::mt19937 random(7);
    for (int i = 0; i < kStrings; ++i) {
        const std::size_t offset = i * kStride + 16;
        const std::string original = "String number " + std::to_string(i);
        image.replace(offset, original.size(), original);
        for (std::size_t k = 0; k < 12; ++k) image[i * kStride + k] = static_cast<char>(random() | 1);
        std::string translation;
        switch (i % 3) {
        case 0: translation = "T" + std::to_string(i); break;
        case 1: translation = "Zeichenkette " + std::to_string(i); break;
        default: translation = "Translated string number " + std::to_string(i); break;
        }
        comparison += "\r\n" + std::to_string(offset) + ":" + original + "\r\n" + translation + "\r\n";
    }
}

TEST(CrashSafety, KilledWriteBackLeavesTheProgramOldOrNew) {
    ScratchFolder scratch;
    std::string image;
    std::string comparison;
    makeWriteBackInputs(image, comparison);
    const auto program = scratch / "big.exe";
    const auto comparisonPath = scratch / "big.exe.a.txt";
    const auto outcome = killRepeatedly(
        {"write-back", program.string(), comparisonPath.string(), "--no-backup"}, program,
        {{program, image}, {comparisonPath, comparison}}, scratch.path(), 30);
    EXPECT_GE(outcome.killedWhileRunning, 5) << "kills must land while the job runs, or the test shows nothing";
    RecordProperty("old", outcome.oldContent);
    RecordProperty("new", outcome.newContent);
}

TEST(CrashSafety, KilledIniMergeLeavesTheComparisonOldOrNew) {
    ScratchFolder scratch;
    constexpr int kEntries = 400000;
    std::string comparison;
    std::string ini;
    for (int i = 0; i < kEntries; ++i) {
        const std::string offset = std::to_string(1000 + i * 40);
        const std::string text = "Menu item " + std::to_string(i);
        comparison += "\r\n" + offset + ":" + text + "\r\n" + text + "\r\n";
        ini += offset + "=Menu entry " + std::to_string(i) + "\r\n";
    }
    const auto comparisonPath = scratch / "big.exe.a.txt";
    const auto iniPath = scratch / "big.exe.a.ini";
    const auto outcome = killRepeatedly(
        {"from-ini", comparisonPath.string(), iniPath.string(), "--no-backup"}, comparisonPath,
        {{comparisonPath, comparison}, {iniPath, ini}}, scratch.path(), 30);
    EXPECT_GE(outcome.killedWhileRunning, 5) << "kills must land while the job runs, or the test shows nothing";
    RecordProperty("old", outcome.oldContent);
    RecordProperty("new", outcome.newContent);
}

} // namespace
} // namespace kestrin::test
