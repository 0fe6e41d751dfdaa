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

std::vector<std::uint8_t> NativeBytesFrom(std::span<const std::uint8_t> image,
                                          std::uint32_t offset) {
    if (offset >= image.size()) {
        return {};
    }
    if (ReadMarker(image) != RomMarker::Swapped) {
        return {image.begin() + offset, image.end()};
    }
    std::vector<std::uint8_t> native(image.size() - offset);
    for (std::size_t k = 0; k < native.size(); ++k) {
        const std::size_t at = (offset + k) ^ 1u;
        native[k] = at < image.size() ? image[at] : 0;
    }
    return native;
}

TextureExport ExportTexture(std::span<const std::uint8_t> image, std::uint32_t offset) {
    TextureExport exported;
    exported.decoded = DecodeTextureRecord(NativeBytesFrom(image, offset));
    if (exported.decoded.result == RecordDecodeResult::Ok) {
        exported.bitmap = TextureBitmap(exported.decoded.texture);
    }
    return exported;
}
