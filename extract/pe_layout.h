#pragma once

// The layout of a 32-bit PE image as the address-based scanner reads it: the
// image base, the section table (always taken at header + 248, where a
// standard 32-bit optional header ends) and the mapping of a virtual address
// to a file offset.
//
// Header fields are 32-bit signed values: sums wrap around in 32 bits and
// comparisons are signed. Any field value, however wild, only ever reads
// inside the file image; bytes past either end read as zero.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

struct SectionRecord {
    std::int32_t virtualSize = 0;
    std::int32_t virtualAddress = 0;
    std::int32_t rawSize = 0;
    std::int32_t rawPointer = 0;
};

struct PeLayout {
    std::int32_t headerOffset = 0;
    std::uint16_t numberOfSections = 0;
    std::int32_t imageBase = 0;
    std::vector<SectionRecord> sections;

    // Inclusive address range (empty without sections or when minVA > maxVA)
    // and the end of the last section's raw data.
    std::int32_t minVa = 0;
    std::int32_t maxVa = -1;
    std::int32_t rawEnd = 0;
};

// 32-bit wrap-around arithmetic on signed values.
constexpr std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Little-endian reads at any offset; bytes outside the image read as zero.
std::uint32_t peRead32(std::string_view image, std::int64_t offset);
std::uint16_t peRead16(std::string_view image, std::int64_t offset);

// The signature tests: the MZ signature at 0 and "PE\0\0" at the header
// offset stored at 0x3C (inside the file); a PE32+ image has the optional
// header magic 0x20B at header + 24. They need only the bytes at those two
// places, which read(offset, length) gives (bytes past the end as zero), so
// a job can test a file without reading it whole.
enum class PeKind { NotPe, Pe32, Pe64 };
using PeHeaderReader = std::function<std::string(std::uint64_t offset, std::size_t length)>;
PeKind peKindOf(std::uint64_t fileSize, const PeHeaderReader& read);

// The same tests on a whole image.
bool isPeFile(std::string_view image);
bool isPe64(std::string_view image);

// Reads the layout of an image that passed isPeFile.
PeLayout readPeLayout(std::string_view image);

// The file offset of the virtual address v: the first section in table order
// whose raw data (its end included) holds v - imageBase - virtualAddress +
// rawPointer. False when v lies below the first section, past rawEnd in the
// last, or in no section's raw data.
bool vaToFileOffset(const PeLayout& layout, std::int32_t v, std::int32_t& offset);

// The same mapping for many addresses: for a long section table it finds the
// first section that holds an address by a binary search over precomputed
// address ranges instead of walking the table, so an image with tens of
// thousands of sections costs a logarithm per address, not a table walk.
// The ranges are computed once the walks have cost about as much, so an
// image with a long table and few addresses never pays for them.
class VaMap {
public:
    explicit VaMap(const PeLayout& layout);
    bool toFileOffset(std::int32_t v, std::int32_t& offset);

private:
    void computeRanges();

    const PeLayout& layout_;
    std::size_t walksLeft_ = 0;
    // Address ranges in ascending signed order: rangeStarts_[k] starts the
    // range that runs to the next start, whose first holding section is
    // rangeOwners_[k] (-1 for none).
    std::vector<std::int64_t> rangeStarts_;
    std::vector<std::int32_t> rangeOwners_;
    bool ranged_ = false;
};

} // namespace kestrin
