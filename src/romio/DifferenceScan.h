#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The first position at or after `from` where two buffers of `size` bytes differ, or `size` when
// they agree to the end. Eight bytes at a time first: most of an image is unchanged between two
// versions, and the patch writers scan it whole.
inline std::size_t NextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t size,
                                  std::size_t from) {
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
