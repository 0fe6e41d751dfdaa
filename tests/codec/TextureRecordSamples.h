#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "ZlibRaw.h"
#include "codec/TextureCompressor.h"

// Data, zlib streams and textures made by our compressor for the inflater and record tests.

using Bytes = std::vector<std::uint8_t>;

// `n` bytes of `symbols` values in runs of 1 to `maxRun`.
inline Bytes Data(std::size_t n, unsigned seed, unsigned symbols, unsigned maxRun) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < n)
        data.insert(data.end(), 1 + rng() % maxRun, static_cast<std::uint8_t>(rng() % symbols));
    data.resize(n);
    return data;
}

inline Bytes Deflate(const Bytes& data, int level, int strategy, int memLevel = 8) {
    return ZlibRawDeflate(data, level, strategy, memLevel);
}

struct SampleTexture {
    int width, height, count;
    const char* letter;
    // Pixel runs of 1 to maxRun equal indices, indices below indexLimit (the count when 0).
    unsigned maxRun, indexLimit;
    Bytes pixels = {};
    Bytes data = {};                          // as compressed: two pixels a byte below 16 entries
    std::vector<std::uint16_t> palette = {};  // entries given before Make are kept
    Bytes record = {};

    SampleTexture& Make(unsigned seed) {
        std::mt19937 rng(seed);
        pixels = Data(width * height, seed, indexLimit ? indexLimit : count, maxRun);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (count >= 16 || i % 2 == 1)
                data.push_back(count >= 16 ? pixels[i] : pixels[i - 1] << 4 | pixels[i]);
        if (count < 16 && pixels.size() % 2 == 1)
            pixels.back() = 0;  // not stored
        std::vector<std::uint32_t> words((data.size() + 3) / 4, 0);
        for (std::size_t i = 0; i < data.size(); ++i)
            words[i / 4] |= std::uint32_t{data[i]} << (24 - 8 * (i % 4));
        while (palette.size() < static_cast<std::size_t>(count))
            palette.push_back(static_cast<std::uint16_t>(rng()));
        record = CompressTexture(0x1172, "110", width, height, words, palette, count, letter);
        return *this;
    }
};
