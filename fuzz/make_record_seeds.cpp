// Writes the seeds of fuzz/corpus/inflate and fuzz/corpus/record_scan: streams of our compressor
// and of zlib (stored, fixed and dynamic blocks) behind a two-byte output limit, and small images
// holding texture records in both byte orders. Run from the project root:
//   g++ -std=c++20 -O2 -Isrc -Itests fuzz/make_record_seeds.cpp src/codec/TextureCompressor.cpp
//       src/codec/MatchFinder.cpp src/io/ByteOrder.cpp -lz -o /tmp/make_record_seeds
//       && /tmp/make_record_seeds fuzz/corpus

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ZlibRaw.h"
#include "codec/TextureCompressor.h"
#include "io/ByteOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A picture-like run of indices below `count`.
Bytes Indices(std::size_t n, unsigned count) {
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) {
        data[i] = static_cast<std::uint8_t>((i / 7 + i * i / 31) % count);
    }
    return data;
}

// The limit (little-endian) followed by the stream.
Bytes WithLimit(std::size_t limit, const Bytes& stream) {
    Bytes seed{static_cast<std::uint8_t>(limit), static_cast<std::uint8_t>(limit >> 8)};
    seed.insert(seed.end(), stream.begin(), stream.end());
    return seed;
}

Bytes Record(int width, int height, int count, const char* letter) {
    const Bytes data = Indices(static_cast<std::size_t>(width * height), count < 16 ? 256 : count);
    std::vector<std::uint32_t> words((data.size() + 3) / 4, 0);
    const std::size_t n = TextureDataLength(width, height, count);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t byte =
            count < 16
                ? static_cast<std::uint8_t>((data[2 * i] % count) << 4 | data[2 * i + 1] % count)
                : data[i];
        words[i / 4] |= std::uint32_t{byte} << (24 - 8 * (i % 4));
    }
    std::vector<std::uint16_t> palette(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<std::uint16_t>(0x1234 * (i + 1));
    }
    return CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, width, height, words, palette,
                           count, letter);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_record_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const Bytes data = Indices(600, 9);
    Write(folder + "/inflate/ours.bin", WithLimit(data.size(), CompressTextureData(data)));
    Write(folder + "/inflate/stored.bin",
          WithLimit(data.size(), ZlibRawDeflate(data, 0, Z_DEFAULT_STRATEGY)));
    Write(folder + "/inflate/fixed.bin", WithLimit(data.size(), ZlibRawDeflate(data, 6, Z_FIXED)));
    Write(folder + "/inflate/dynamic.bin",
          WithLimit(data.size(), ZlibRawDeflate(data, 9, Z_DEFAULT_STRATEGY)));
    Write(folder + "/inflate/short-limit.bin", WithLimit(100, ZlibRawDeflate(data, 9, Z_RLE)));

    Write(folder + "/record_scan/four-bit.bin", Record(8, 8, 5, "N"));
    Write(folder + "/record_scan/eight-bit.bin", Record(16, 16, 40, "G"));
    // A small image: header area with the native marker, two records, filler between them.
    Bytes image(0x40, 0xFF);
    std::copy_n("MOON", 4, image.begin() + MARKER_OFFSET);
    for (const Bytes& record : {Record(16, 8, 3, "G"), Record(8, 16, 16, "N")}) {
        image.insert(image.end(), record.begin(), record.end());
        image.insert(image.end(), 5, 0x00);
    }
    image.resize(image.size() + image.size() % 2);
    Write(folder + "/record_scan/native-image.bin", image);
    SwapBytePairs(image);
    Write(folder + "/record_scan/swapped-image.bin", image);
    return 0;
}
