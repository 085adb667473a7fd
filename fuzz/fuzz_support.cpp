#include "fuzz/fuzz_support.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kestrin::fuzz {

namespace fs = std::filesystem;

namespace {

void removeRunFolder() {
    std::error_code ec;
    fs::remove_all(runFolder(), ec);
}

// libFuzzer often ends with _Exit, which skips atexit: remove the folders of
// runs whose process is gone.
void removeStaleFolders(const fs::path& base) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("kestrin-fuzz-", 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + 13, nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), ec);
    }
}

} // namespace

const fs::path& runFolder() {
    static const fs::path folder = [] {
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        removeStaleFolders(base);
        fs::path path = base / ("kestrin-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path, ec);
        ::setenv("TMPDIR", path.c_str(), 1);
        std::atexit(removeRunFolder);
        return path;
    }();
    return folder;
}

void putFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string getFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void clearRunFolder() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(runFolder(), ec)) fs::remove_all(entry.path(), ec);
}

void fail(const std::string& what) {
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void CountingReporter::expectOneMessage() const {
    if (count != 1) fail("the job reported " + std::to_string(count) + " messages");
}

std::uint8_t InputReader::takeByte() {
    if (rest.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest.front());
    rest.remove_prefix(1);
    return byte;
}

std::string_view InputReader::takeUntil(std::string_view separator) {
    const auto at = rest.find(separator);
    if (at == std::string_view::npos) {
        const auto all = rest;
        rest = {};
        return all;
    }
    const auto part = rest.substr(0, at);
    rest.remove_prefix(at + separator.size());
    return part;
}

} // namespace kestrin::fuzz
