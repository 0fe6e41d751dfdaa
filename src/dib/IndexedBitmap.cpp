#include "dib/IndexedBitmap.h"

#include <algorithm>
#include <limits>

#include "io/LittleEndian.h"

namespace {

constexpr std::uint32_t CLASSIC_INFO_HEADER = 40;
// 72 dots per inch, the usual value of paint programs.
constexpr std::uint32_t PIXELS_PER_METRE = 2835;

}  // namespace

std::size_t IndexedBitmapStride(std::int32_t width, int bitCount) {
    const std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount);
    return (bits + 31) / 32 * 4;
}

std::vector<std::uint8_t> EncodeIndexedBitmap(std::int32_t width, std::int32_t height, int bitCount,
                                              std::span<const std::uint32_t> colours,
                                              std::span<const std::uint8_t> pixels) {
    if ((bitCount != 4 && bitCount != 8) || width < 1 || height < 1) {
        return {};
    }
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    if (pixels.size() != w * h || colours.empty() || colours.size() > (1u << bitCount)) {
        return {};
    }
    const std::size_t entries = colours.size();
    if (std::any_of(pixels.begin(), pixels.end(), [&](std::uint8_t i) { return i >= entries; })) {
        return {};
    }
    const std::size_t stride = IndexedBitmapStride(width, bitCount);
    const std::size_t pixelOffset = INDEXED_BITMAP_HEADERS + 4 * entries;
    const std::size_t imageSize = stride * h;
    if (imageSize > std::numeric_limits<std::uint32_t>::max() - pixelOffset) {
        return {};
    }

    std::vector<std::uint8_t> file(pixelOffset + imageSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    StoreU32(file, 2, static_cast<std::uint32_t>(file.size()));
    StoreU32(file, 10, static_cast<std::uint32_t>(pixelOffset));
    StoreU32(file, 14, CLASSIC_INFO_HEADER);
    StoreU32(file, 18, static_cast<std::uint32_t>(width));
    StoreU32(file, 22, static_cast<std::uint32_t>(height));
    StoreU16(file, 26, 1);  // planes
    StoreU16(file, 28, static_cast<std::uint16_t>(bitCount));
    StoreU32(file, 30, 0);  // no compression
    StoreU32(file, 34, static_cast<std::uint32_t>(imageSize));
    StoreU32(file, 38, PIXELS_PER_METRE);
    StoreU32(file, 42, PIXELS_PER_METRE);
    StoreU32(file, 46, static_cast<std::uint32_t>(entries));
    StoreU32(file, 50, static_cast<std::uint32_t>(entries));

    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t rgb = colours[i];
        const std::size_t at = INDEXED_BITMAP_HEADERS + 4 * i;
        file[at] = static_cast<std::uint8_t>(rgb);
        file[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
        file[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }

    for (std::size_t stored = 0; stored < h; ++stored) {
        const std::size_t row = h - 1 - stored;  // bottom-up
        const std::uint8_t* source = pixels.data() + row * w;
        std::uint8_t* target = file.data() + pixelOffset + stored * stride;
        if (bitCount == 8) {
            std::copy(source, source + w, target);
        } else {
            for (std::size_t x = 0; x < w; ++x) {
                const int shift = x % 2 == 0 ? 4 : 0;
                target[x / 2] = static_cast<std::uint8_t>(target[x / 2] | source[x] << shift);
            }
        }
    }
    return file;
}
