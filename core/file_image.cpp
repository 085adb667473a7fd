#include "core/file_image.h"

#include "core/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace kestrin {

namespace {

// The mapped ranges the bus-error handler may repair. The handler only reads
// atomics and calls mmap, so it is safe whichever thread faults. A range is
// published by its end, then its begin; a slot whose begin is zero is free.
struct GuardSlot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> hit{false};
};

constexpr std::size_t kSlots = 64;
std::array<GuardSlot, kSlots> guardSlots;
std::atomic<bool> slotTaken[kSlots];
struct sigaction previousBusAction {};
std::uintptr_t pageSize = 4096;

void passOn(int signal, siginfo_t* info, void* context) {
    if ((previousBusAction.sa_flags & SA_SIGINFO) != 0 && previousBusAction.sa_sigaction != nullptr) {
        previousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN &&
        previousBusAction.sa_handler != nullptr) {
        previousBusAction.sa_handler(signal);
        return;
    }
    // The usual end: with the default action back, the faulting access
    // repeats and ends the program as it would have without this handler.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(SIGBUS, &fallback, nullptr);
}

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : guardSlots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= slot.end.load(std::memory_order_acquire)) continue;
        // Put a page of zeros where the file's page was and go on reading.
        void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            slot.hit.store(true, std::memory_order_release);
            return;
        }
        break;
    }
    passOn(signal, info, context);
}

void installBusErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousBusAction);
    });
}

int takeGuardSlot(const void* data, std::size_t size) {
    installBusErrorHandler();
    for (std::size_t i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (!slotTaken[i].compare_exchange_strong(expected, true)) continue;
        const auto begin = reinterpret_cast<std::uintptr_t>(data);
        guardSlots[i].hit.store(false);
        guardSlots[i].end.store(begin + size, std::memory_order_release);
        guardSlots[i].begin.store(begin, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void freeGuardSlot(int i) {
    guardSlots[static_cast<std::size_t>(i)].begin.store(0, std::memory_order_release);
    guardSlots[static_cast<std::size_t>(i)].end.store(0, std::memory_order_release);
    slotTaken[i].store(false);
}

} // namespace

std::optional<FileImage> FileImage::open(const std::filesystem::path& path) {
    std::uint64_t fileSize = 0;
    const int fd = openRegularFile(path, fileSize);
    if (fd < 0) return std::nullopt;
    FileImage image;
    const auto size = static_cast<std::size_t>(fileSize);
    if (size > 0) {
        // Populated at once: one pass through the page cache costs less than
        // a page fault for every few pages the scan touches.
        void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapping != MAP_FAILED) {
            const int slot = takeGuardSlot(mapping, size);
            if (slot >= 0) {
                image.mapping_ = mapping;
                image.guardSlot_ = slot;
                image.size_ = size;
                ::close(fd);
                return image;
            }
            ::munmap(mapping, size);
        }
    }
    ::close(fd);
    // Not mapped (an empty file, a file system without mappings, every guard
    // in use): read it.
    auto bytes = tryReadFileBytes(path);
    if (!bytes) return std::nullopt;
    image.copy_ = std::move(*bytes);
    image.size_ = image.copy_.size();
    return image;
}

FileImage::FileImage(FileImage&& other) noexcept { *this = std::move(other); }

FileImage& FileImage::operator=(FileImage&& other) noexcept {
    if (this == &other) return *this;
    release();
    mapping_ = other.mapping_;
    guardSlot_ = other.guardSlot_;
    copy_ = std::move(other.copy_);
    size_ = other.size_;
    other.mapping_ = nullptr;
    other.guardSlot_ = -1;
    other.size_ = 0;
    return *this;
}

FileImage::~FileImage() { release(); }

bool FileImage::intact() const {
    return guardSlot_ < 0 || !guardSlots[static_cast<std::size_t>(guardSlot_)].hit.load(std::memory_order_acquire);
}

void FileImage::release() {
    if (mapping_ != nullptr) {
        freeGuardSlot(guardSlot_);
        ::munmap(mapping_, size_);
    }
    mapping_ = nullptr;
    guardSlot_ = -1;
}

} // namespace kestrin
