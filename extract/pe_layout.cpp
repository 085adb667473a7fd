#include "extract/pe_layout.h"

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

bool isPeFile(std::string_view image) {
    if (peRead16(image, 0) != 0x5A4D) return false;
    const auto h = static_cast<std::int64_t>(peRead32(image, 0x3C)); // an offset from the start, never negative
    // A header offset past the end yields no bytes there; a short read at the
    // end counts the missing bytes as zero.
    if (h >= static_cast<std::int64_t>(image.size())) return false;
    return peRead32(image, h) == 0x00004550;
}

bool isPe64(std::string_view image) {
    const auto h = static_cast<std::int64_t>(peRead32(image, 0x3C));
    return peRead16(image, h + 24) == 0x20B;
}

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

} // namespace kestrin
