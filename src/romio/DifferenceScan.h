#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace difference_scan {

inline std::uint64_t Load(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Which byte of a loaded word the lowest flag bit (one in the top bit of each flagged byte) marks.
inline std::size_t FlaggedByte(std::uint64_t flags) {
    return static_cast<std::size_t>(std::endian::native == std::endian::little
                                        ? std::countr_zero(flags) / 8
                                        : std::countl_zero(flags) / 8);
}

// True when 64 bytes agree; the whole chunk is folded into one word so that the compiler can use
// wide registers and there is one branch per chunk.
inline bool SameChunk(const std::uint8_t* a, const std::uint8_t* b) {
    std::uint64_t any = 0;
    for (std::size_t i = 0; i < 64; i += 8) {
        any |= Load(a + i) ^ Load(b + i);
    }
    return any == 0;
}

}  // namespace difference_scan

// The first position at or after `from` where two buffers of `size` bytes differ, or `size` when
// they agree to the end. Changes cluster, so the next few words are looked at one by one; then
// large blocks by memcmp, chunks and words, as most of an image is unchanged between two
// versions and the patch writers scan it whole.
inline std::size_t NextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t size,
                                  std::size_t from) {
    using namespace difference_scan;
    constexpr std::size_t NEARBY_WORDS = 4;
    constexpr std::size_t BLOCK = 256;
    constexpr std::size_t CHUNK = 64;
    for (std::size_t i = 0; i < NEARBY_WORDS && from + 8 <= size; ++i, from += 8) {
        if (const std::uint64_t x = Load(a + from) ^ Load(b + from); x != 0) {
            // Any nonzero byte of x carries a set bit; flag the top bit of each such byte.
            const std::uint64_t low = 0x7F7F7F7F7F7F7F7Full;
            return from + FlaggedByte((((x & low) + low) | x) & ~low);
        }
    }
    while (from + BLOCK <= size && std::memcmp(a + from, b + from, BLOCK) == 0) {
        from += BLOCK;
    }
    while (from + CHUNK <= size && SameChunk(a + from, b + from)) {
        from += CHUNK;
    }
    while (from + 8 <= size) {
        if (const std::uint64_t x = Load(a + from) ^ Load(b + from); x != 0) {
            const std::uint64_t low = 0x7F7F7F7F7F7F7F7Full;
            return from + FlaggedByte((((x & low) + low) | x) & ~low);
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
    using namespace difference_scan;
    while (from + 8 <= size) {
        const std::uint64_t x = Load(a + from) ^ Load(b + from);
        // Flags exactly the bytes of x that are zero, with no carry between bytes.
        const std::uint64_t low = 0x7F7F7F7F7F7F7F7Full;
        if (const std::uint64_t zero = ~(((x & low) + low) | x | low); zero != 0) {
            return from + FlaggedByte(zero);
        }
        from += 8;
    }
    while (from < size && a[from] != b[from]) {
        ++from;
    }
    return from;
}
