#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "io/RomImage.h"
#include "romio/RomTestSupport.h"

// Pairs of native-order images for the IPS and BPS round trips: one shared source, and targets
// described by their changes so that only one 12 MiB target exists at a time.
namespace patch_pairs {

using Bytes = std::vector<std::uint8_t>;

// `length` bytes from `at`: inverted when `fill` is negative, else all set to `fill`.
struct Change {
    std::uint32_t at, length;
    int fill = -1;
};
using Pair = std::pair<std::string, std::vector<Change>>;

inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline const Bytes& Source() {
    static const Bytes source = rom_test::MakeNativeRom(1);
    return source;
}

inline Bytes Target(const Pair& pair) {
    Bytes target = Source();
    for (const Change& c : pair.second) {
        for (std::uint32_t p = c.at; p < c.at + c.length; ++p) {
            target[p] = static_cast<std::uint8_t>(c.fill < 0 ? ~target[p] : c.fill);
        }
    }
    return target;
}

inline std::vector<Pair> Pairs() {
    constexpr std::uint32_t END = ROM_IMAGE_SIZE, EOF_OFFSET = 0x454F46;  // "EOF" as an offset
    std::vector<Change> scattered;
    for (std::uint32_t k = 0; k < 500; ++k) {
        // Lengths 1 to 37 and gaps of 1 to 11 bytes between some, so stretches merge or not.
        const std::uint32_t at = 0x100 + k * 0x6000 + (k % 3) * 7;
        scattered.insert(scattered.end(), {{at, 1 + k % 37}, {at + 2 + k % 37 + k % 11, 2}});
    }
    return {
        {"identical", {}},
        {"first and last byte", {{0, 1}, {END - 1, 1}}},
        {"odd and even bytes, 0x454F46", {{0x1233, 1}, {0x2000, 1}, {0x3001, 2}, {EOF_OFFSET, 1}}},
        {"scattered stretches", scattered},
        {"runs", {{0x10000, 0x30000, 0xAA}, {0x50000, 20, 0}, {0x60000, 13, 7}, {END - 9, 9, 1}}},
        {"runs among changes, at 0x454F46",
         {{0x70000, 40}, {0x70010, 16, 0x55}, {EOF_OFFSET, 100, 0x33}}},
        {"record boundary at 0x454F46", {{EOF_OFFSET - 0xFFFF, 0x20000}}},
        {"stretch longer than 0xFFFF", {{0x200001, 0x25000}, {END - 0x10001, 0x10001}}},
    };
}

}  // namespace patch_pairs
