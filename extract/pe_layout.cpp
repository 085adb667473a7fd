#include "extract/pe_layout.h"

#include <algorithm>
#include <limits>
#include <queue>
#include <utility>

namespace kestrin {

std::uint32_t peRead32(std::string_view image, std::int64_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        const std::int64_t at = offset + i;
        const std::uint32_t b =
            at >= 0 && at < static_cast<std::int64_t>(image.size()) ? static_cast<unsigned char>(image[static_cast<std::size_t>(at)]) : 0;
        value = value << 8 | b;
    }
    return value;
}

std::uint16_t peRead16(std::string_view image, std::int64_t offset) {
    return static_cast<std::uint16_t>(peRead32(image, offset) & 0xFFFF);
}

namespace {

std::int32_t headerOffsetOf(std::string_view image) { return static_cast<std::int32_t>(peRead32(image, 0x3C)); }

// Offset h + delta with 32-bit wrap-around; a negative result reads nothing.
std::int64_t fieldAt(std::int32_t h, std::int32_t delta) { return wrapAdd(h, delta); }

} // namespace

PeKind peKindOf(std::uint64_t fileSize, const PeHeaderReader& read) {
    const std::string head = read(0, 0x40);
    if (peRead16(head, 0) != 0x5A4D) return PeKind::NotPe;
    // An offset from the start, never negative. A header offset past the end
    // yields no bytes there; a short read at the end counts the missing bytes
    // as zero.
    const std::uint64_t h = peRead32(head, 0x3C);
    if (h >= fileSize) return PeKind::NotPe;
    const std::string header = read(h, 26);
    if (peRead32(header, 0) != 0x00004550) return PeKind::NotPe;
    return peRead16(header, 24) == 0x20B ? PeKind::Pe64 : PeKind::Pe32;
}

namespace {

PeKind peKindOfImage(std::string_view image) {
    return peKindOf(image.size(), [image](std::uint64_t offset, std::size_t length) {
        std::string bytes(length, '\0');
        if (offset < image.size()) image.copy(bytes.data(), length, static_cast<std::size_t>(offset));
        return bytes;
    });
}

} // namespace

bool isPeFile(std::string_view image) { return peKindOfImage(image) != PeKind::NotPe; }

bool isPe64(std::string_view image) { return peKindOfImage(image) == PeKind::Pe64; }

PeLayout readPeLayout(std::string_view image) {
    PeLayout layout;
    const std::int32_t h = headerOffsetOf(image);
    layout.headerOffset = h;
    layout.numberOfSections = peRead16(image, fieldAt(h, 6));
    layout.imageBase = static_cast<std::int32_t>(peRead32(image, fieldAt(h, 52)));
    layout.sections.resize(layout.numberOfSections);
    std::int32_t record = wrapAdd(h, 248);
    for (SectionRecord& s : layout.sections) {
        s.virtualSize = static_cast<std::int32_t>(peRead32(image, fieldAt(record, 8)));
        s.virtualAddress = static_cast<std::int32_t>(peRead32(image, fieldAt(record, 12)));
        s.rawSize = static_cast<std::int32_t>(peRead32(image, fieldAt(record, 16)));
        s.rawPointer = static_cast<std::int32_t>(peRead32(image, fieldAt(record, 20)));
        record = wrapAdd(record, 40);
    }
    if (!layout.sections.empty()) {
        const SectionRecord& first = layout.sections.front();
        const SectionRecord& last = layout.sections.back();
        layout.minVa = wrapAdd(layout.imageBase, first.virtualAddress);
        layout.maxVa = wrapAdd(wrapAdd(layout.imageBase, last.virtualAddress), last.virtualSize);
        layout.rawEnd = wrapAdd(last.rawPointer, last.rawSize);
    }
    return layout;
}

bool vaToFileOffset(const PeLayout& layout, std::int32_t v, std::int32_t& offset) {
    const std::size_t count = layout.sections.size();
    for (std::size_t i = 0; i < count; ++i) {
        const SectionRecord& s = layout.sections[i];
        const std::int32_t off = wrapAdd(wrapSub(wrapSub(v, layout.imageBase), s.virtualAddress), s.rawPointer);
        if (i == 0 && off < s.rawPointer) return false;
        if (i + 1 == count && off > layout.rawEnd) return false;
        if (s.rawPointer <= off && off <= wrapAdd(s.rawPointer, s.rawSize)) {
            offset = off;
            return true;
        }
    }
    return false;
}

namespace {

// Tables up to this long are walked: a short walk beats a binary search.
constexpr std::size_t kWalkedSections = 16;

std::int32_t offsetIn(const PeLayout& layout, const SectionRecord& s, std::int32_t v) {
    return wrapAdd(wrapSub(wrapSub(v, layout.imageBase), s.virtualAddress), s.rawPointer);
}

} // namespace

VaMap::VaMap(const PeLayout& layout) : layout_(layout) {
    // Computing the ranges costs about as much as this many walks.
    if (layout.sections.size() > kWalkedSections) walksLeft_ = 64;
}

void VaMap::computeRanges() {
    const PeLayout& layout = layout_;
    const std::size_t count = layout.sections.size();
    ranged_ = true;

    // Section i holds v when rawPointer <= v - imageBase - virtualAddress +
    // rawPointer <= rawPointer + rawSize (signed, wrapping): v runs over
    // rawSize + 1 addresses from imageBase + virtualAddress, wrapping at the
    // top of the signed range into at most two pieces.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::vector<std::pair<std::int64_t, std::int32_t>> events; // (address, +i+1 opens / -(i+1) closes)
    events.reserve(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const SectionRecord& s = layout.sections[i];
        const std::int32_t end = wrapAdd(s.rawPointer, s.rawSize);
        if (end < s.rawPointer) continue;
        const std::int64_t length = static_cast<std::int64_t>(end) - s.rawPointer;
        const std::int64_t first = wrapAdd(layout.imageBase, s.virtualAddress);
        const std::int64_t last = first + length;
        const auto id = static_cast<std::int32_t>(i + 1);
        if (last <= kMax) {
            events.emplace_back(first, id);
            events.emplace_back(last + 1, -id);
        } else {
            events.emplace_back(first, id);
            events.emplace_back(kMax + 1, -id);
            events.emplace_back(kMin, id);
            events.emplace_back(last - (std::int64_t{1} << 32) + 1, -id);
        }
    }
    std::sort(events.begin(), events.end());

    // Sweep the addresses upwards, keeping the open sections in a min-heap;
    // closed ones leave it when they reach its top.
    std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> open;
    std::vector<std::int32_t> openCount(count + 1, 0);
    rangeStarts_.push_back(kMin);
    rangeOwners_.push_back(-1);
    std::size_t e = 0;
    while (e < events.size()) {
        const std::int64_t at = events[e].first;
        for (; e < events.size() && events[e].first == at; ++e) {
            const std::int32_t id = events[e].second;
            if (id > 0) {
                if (openCount[static_cast<std::size_t>(id)]++ == 0) open.push(id);
            } else {
                --openCount[static_cast<std::size_t>(-id)];
            }
        }
        while (!open.empty() && openCount[static_cast<std::size_t>(open.top())] == 0) open.pop();
        const std::int32_t owner = open.empty() ? -1 : open.top() - 1;
        if (rangeStarts_.back() == at) {
            rangeOwners_.back() = owner;
        } else if (rangeOwners_.back() != owner) {
            rangeStarts_.push_back(at);
            rangeOwners_.push_back(owner);
        }
    }
}

bool VaMap::toFileOffset(std::int32_t v, std::int32_t& offset) {
    if (!ranged_) {
        if (layout_.sections.size() <= kWalkedSections || walksLeft_ > 0) {
            if (walksLeft_ > 0) --walksLeft_;
            return vaToFileOffset(layout_, v, offset);
        }
        computeRanges();
    }
    // The walk's first and last checks, then the first section that holds v.
    const SectionRecord& first = layout_.sections.front();
    if (offsetIn(layout_, first, v) < first.rawPointer) return false;
    const auto range = std::upper_bound(rangeStarts_.begin(), rangeStarts_.end(), static_cast<std::int64_t>(v));
    const std::int32_t owner = rangeOwners_[static_cast<std::size_t>(range - rangeStarts_.begin()) - 1];
    const auto lastIndex = static_cast<std::int32_t>(layout_.sections.size() - 1);
    if (owner >= 0 && owner < lastIndex) {
        offset = offsetIn(layout_, layout_.sections[static_cast<std::size_t>(owner)], v);
        return true;
    }
    const std::int32_t lastOffset = offsetIn(layout_, layout_.sections.back(), v);
    if (lastOffset > layout_.rawEnd || owner != lastIndex) return false;
    offset = lastOffset;
    return true;
}

} // namespace kestrin
