#include "codec/TextureRecordDecode.h"

#include <algorithm>

#include "codec/TextureCompressor.h"

// Format notes. A record is: format code (0x09 N 8-bit, 0x0A N 4-bit, 0x0B G 8-bit, 0x0C G
// 4-bit), palette count - 1, the palette (two bytes an entry, high byte first), width, height,
// 0x11 0x72, then a raw DEFLATE stream of the texture's data bytes. Our compressor ends the
// stream with the end-of-block code and thirteen more bits, 0000001100010 in stream order, that
// lie past the final block; they count as part of the record when they are there.

namespace {

constexpr std::size_t HEADER_BEFORE_PALETTE = 2;
constexpr std::size_t HEADER_AFTER_PALETTE = 4;
constexpr unsigned TAIL_BITS = 13;
// The tail remainder as the stream's next 13 bits, bit i of the value the i-th bit of the tail.
constexpr std::uint32_t TAIL_REMAINDER = (1u << 6) | (1u << 7) | (1u << 11);

// The `count` bits of `bytes` that start at bit `first` (least significant bit of each byte
// first); the caller keeps them within the bytes.
std::uint32_t BitsAt(std::span<const std::uint8_t> bytes, std::size_t first, unsigned count) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t bit = first + i;
        value |= static_cast<std::uint32_t>((bytes[bit / 8] >> (bit % 8)) & 1u) << i;
    }
    return value;
}

bool IndicesBelow(std::span<const std::uint8_t> data, int depth, unsigned count) {
    if (depth == 8) {
        return count == 256 ||
               std::all_of(data.begin(), data.end(), [count](std::uint8_t b) { return b < count; });
    }
    return std::all_of(data.begin(), data.end(),
                       [count](std::uint8_t b) { return (b >> 4) < count && (b & 0x0Fu) < count; });
}

}  // namespace

RecordDecodeOutcome DecodeTextureRecord(std::span<const std::uint8_t> bytes) {
    RecordDecodeOutcome outcome;
    DecodedTexture& texture = outcome.texture;
    auto refuse = [&outcome](RecordDecodeResult result) {
        outcome.result = result;
        return outcome;
    };
    if (bytes.empty()) {
        return refuse(RecordDecodeResult::TooShort);
    }
    texture.formatCode = bytes[0];
    if (texture.formatCode < 0x09 || texture.formatCode > 0x0C) {
        return refuse(RecordDecodeResult::BadFormatCode);
    }
    texture.formatFlag = texture.formatCode >= 0x0B ? 'G' : 'N';
    texture.depth = texture.formatCode % 2 == 0 ? 4 : 8;
    if (bytes.size() < HEADER_BEFORE_PALETTE) {
        return refuse(RecordDecodeResult::TooShort);
    }
    const unsigned count = bytes[1] + 1u;
    if ((texture.depth == 4) != (count < 16)) {
        return refuse(RecordDecodeResult::BadPaletteCount);
    }
    const std::size_t headerSize = HEADER_BEFORE_PALETTE + 2 * count + HEADER_AFTER_PALETTE;
    if (bytes.size() < headerSize) {
        return refuse(RecordDecodeResult::TooShort);
    }
    const std::size_t dims = HEADER_BEFORE_PALETTE + 2 * count;
    texture.width = bytes[dims];
    texture.height = bytes[dims + 1];
    if (texture.width == 0 || texture.height == 0) {
        return refuse(RecordDecodeResult::ZeroSize);
    }
    if (bytes[dims + 2] != (TEXTURE_STREAM_MAGIC >> 8) ||
        bytes[dims + 3] != (TEXTURE_STREAM_MAGIC & 0xFF)) {
        return refuse(RecordDecodeResult::BadStreamMagic);
    }

    const std::size_t pixels = static_cast<std::size_t>(texture.width) * texture.height;
    const std::size_t n = texture.depth == 4 ? pixels / 2 : pixels;
    const std::span<const std::uint8_t> stream = bytes.subspan(headerSize);
    InflateOutcome inflated = InflateRaw(stream, n);
    outcome.inflateResult = inflated.result;
    if (inflated.result == InflateResult::OutputPastLimit ||
        (inflated.result == InflateResult::Ok && inflated.output.size() != n)) {
        return refuse(RecordDecodeResult::WrongDataLength);
    }
    if (inflated.result != InflateResult::Ok) {
        return refuse(RecordDecodeResult::StreamFault);
    }
    if (!IndicesBelow(inflated.output, texture.depth, count)) {
        return refuse(RecordDecodeResult::IndexOutOfRange);
    }

    texture.palette.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        texture.palette[i] = static_cast<std::uint16_t>(bytes[HEADER_BEFORE_PALETTE + 2 * i] << 8 |
                                                        bytes[HEADER_BEFORE_PALETTE + 2 * i + 1]);
    }
    texture.data = std::move(inflated.output);
    const std::size_t used = inflated.bitsUsed;
    texture.hasTail =
        used + TAIL_BITS <= 8 * stream.size() && BitsAt(stream, used, TAIL_BITS) == TAIL_REMAINDER;
    texture.recordSize = headerSize + (used + (texture.hasTail ? TAIL_BITS : 0) + 7) / 8;
    outcome.result = RecordDecodeResult::Ok;
    return outcome;
}

std::vector<std::uint8_t> PixelIndices(const DecodedTexture& texture) {
    const std::size_t pixels = static_cast<std::size_t>(std::max(texture.width, 0)) *
                               static_cast<std::size_t>(std::max(texture.height, 0));
    if (texture.depth != 4) {
        std::vector<std::uint8_t> indices(
            texture.data.begin(), texture.data.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                             pixels, texture.data.size())));
        indices.resize(pixels, 0);
        return indices;
    }
    std::vector<std::uint8_t> indices(pixels, 0);
    for (std::size_t i = 0; i < pixels && i / 2 < texture.data.size(); ++i) {
        const std::uint8_t byte = texture.data[i / 2];
        indices[i] = i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
    return indices;
}
