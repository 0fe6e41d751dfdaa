#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The first position at or after `from` where two buffers of `size` bytes differ, or `size` when
// they agree to the end. Changes cluster, so the next few bytes are looked at one by one; then
// blocks by memcmp and words, as most of an image is unchanged between two versions and the
// patch writers scan it whole.
inline std::size_t NextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t size,
                                  std::size_t from) {
    constexpr std::size_t NEARBY = 32;
    constexpr std::size_t BLOCK = 256;
    for (const std::size_t nearby = std::min(size, from + NEARBY); from < nearby; ++from) {
        if (a[from] != b[from]) {
            return from;
        }
    }
    while (from + BLOCK <= size && std::memcmp(a + from, b + from, BLOCK) == 0) {
        from += BLOCK;
    }
    while (from + 8 <= size) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + from, 8);
        std::memcpy(&y, b + from, 8);
        if (x != y) {
            break;
        }
        from += 8;
    }
    while (from < size && a[from] == b[from]) {
        ++from;
    }
    return from;
}

// The first position at or after `from` where the two buffers agree, or `size`: the end of a run
// of changed bytes.
inline std::size_t NextAgreement(const std::uint8_t* a, const std::uint8_t* b, std::size_t size,
                                 std::size_t from) {
    while (from < size && a[from] != b[from]) {
        ++from;
    }
    return from;
}
