#pragma once

// Fast searches in a file image for zero bytes (the separators of every
// zero-terminated string), zero pairs and the FF FF FF FF marker of Delphi
// strings. Indexes are 0-based; npos means "none".
//
// The searches look at 16 bytes at a time (SSE2 on x86-64, a plain loop
// elsewhere), so that both long runs (padding, noise without zeros) and the
// short hops between the zeros of UTF-16 text stay cheap.

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestrin::byte_search {

inline constexpr std::size_t npos = static_cast<std::size_t>(-1);

// Index of the first zero byte at or after from, or npos.
inline std::size_t findZero(std::string_view bytes, std::size_t from) {
    const std::size_t size = bytes.size();
    if (from >= size) return npos;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__SSE2__)
    if (from + 16 <= size) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        const unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_setzero_si128())));
        if (mask != 0) return from + static_cast<std::size_t>(__builtin_ctz(mask));
        from += 16;
    }
#endif
    const void* hit = std::memchr(data + from, 0, size - from);
    return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data);
}

// Index of the first non-zero byte at or after from, or npos.
inline std::size_t findNonZero(std::string_view bytes, std::size_t from) {
    const std::size_t size = bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (from + 16 <= size) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        const unsigned zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)));
        if (zeros != 0xFFFF) return from + static_cast<std::size_t>(__builtin_ctz(~zeros & 0xFFFF));
        from += 16;
    }
#endif
    for (; from < size; ++from)
        if (data[from] != 0) return from;
    return npos;
}

// Index i >= from of the first pair of adjacent zero bytes (i and i + 1), or npos.
inline std::size_t findZeroPair(std::string_view bytes, std::size_t from) {
    const std::size_t size = bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    // Each step needs the byte after its 16 bytes to tell a pair at its last place.
    while (from + 17 <= size) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from + 1));
        const unsigned pairs = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, zero), _mm_cmpeq_epi8(next, zero))));
        if (pairs != 0) return from + static_cast<std::size_t>(__builtin_ctz(pairs));
        from += 16;
    }
#endif
    for (; from + 1 < size; ++from)
        if (data[from] == 0 && data[from + 1] == 0) return from;
    return npos;
}

// Index i >= from of the first four adjacent 0xFF bytes, or npos.
inline std::size_t findFourFF(std::string_view bytes, std::size_t from) {
    const std::size_t size = bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__SSE2__)
    const __m128i ones = _mm_set1_epi8(static_cast<char>(0xFF));
    while (from + 19 <= size) {
        const auto at = [&](std::size_t k) {
            return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from + k)), ones);
        };
        const unsigned hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_and_si128(at(0), at(1)), _mm_and_si128(at(2), at(3)))));
        if (hits != 0) return from + static_cast<std::size_t>(__builtin_ctz(hits));
        from += 16;
    }
#endif
    for (; from + 3 < size; ++from)
        if (data[from] == 0xFF && data[from + 1] == 0xFF && data[from + 2] == 0xFF && data[from + 3] == 0xFF)
            return from;
    return npos;
}

} // namespace kestrin::byte_search
