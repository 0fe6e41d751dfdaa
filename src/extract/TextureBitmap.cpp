#include "extract/TextureBitmap.h"

#include <algorithm>

#include "dib/IndexedBitmap.h"

std::uint32_t Rgba5551ToRgb(std::uint16_t colour) {
    const auto widen = [](std::uint32_t five) { return five << 3 | five >> 2; };
    return widen(colour >> 11 & 0x1Fu) << 16 | widen(colour >> 6 & 0x1Fu) << 8 |
           widen(colour >> 1 & 0x1Fu);
}

std::vector<std::uint8_t> TextureBitmap(const DecodedTexture& texture) {
    const std::vector<std::uint8_t> indices = PixelIndices(texture);
    const auto width = static_cast<std::size_t>(texture.width);
    const auto height = static_cast<std::size_t>(texture.height);
    if (indices.size() != width * height) {
        return {};
    }
    // The writer takes the top row first and stores the bottom row first; the data's first row
    // is the one stored first.
    std::vector<std::uint8_t> topFirst(indices.size());
    for (std::size_t row = 0; row < height; ++row) {
        std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(row * width), width,
                    topFirst.begin() + static_cast<std::ptrdiff_t>((height - 1 - row) * width));
    }
    std::vector<std::uint32_t> colours(texture.palette.size());
    std::transform(texture.palette.begin(), texture.palette.end(), colours.begin(), Rgba5551ToRgb);
    return EncodeIndexedBitmap(texture.width, texture.height, colours.size() < 16 ? 4 : 8, colours,
                               topFirst);
}

std::span<const std::uint8_t> NativeImage(std::span<const std::uint8_t> image,
                                          std::vector<std::uint8_t>& storage) {
    if (ReadMarker(image) != RomMarker::Swapped) {
        return image;
    }
    storage.assign(image.begin(), image.end());
    SwapBytePairs(storage);
    return storage;
}

TextureExport ExportTexture(std::span<const std::uint8_t> image, std::uint32_t offset) {
    TextureExport exported;
    std::vector<std::uint8_t> storage;
    const std::span<const std::uint8_t> native = NativeImage(image, storage);
    exported.decoded = DecodeTextureRecord(
        offset < native.size() ? native.subspan(offset) : std::span<const std::uint8_t>());
    if (exported.decoded.result == RecordDecodeResult::Ok) {
        exported.bitmap = TextureBitmap(exported.decoded.texture);
    }
    return exported;
}
