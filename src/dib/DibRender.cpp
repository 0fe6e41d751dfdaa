#include "dib/DibRender.h"

#include "dib/RunLength.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

namespace {

constexpr std::uint32_t OPAQUE = 0xFF000000u;

std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return OPAQUE | red << 16 | green << 8 | blue;
}

// The colours of indexed pixels: every index a pixel can hold, black where the table has none.
// Read straight from the colour table (at the end of the info header, as drawing reads it).
std::array<std::uint32_t, 256> IndexColours(const CDib& dib) {
    std::array<std::uint32_t, 256> colours;
    colours.fill(OPAQUE);
    const std::vector<std::uint8_t>& info = *dib.InfoBlock();
    const std::uint64_t count = std::min<std::uint64_t>(dib.ColourCount(), colours.size());
    const std::uint64_t table = dib.HeaderSize();
    for (std::uint64_t index = 0; index < count; ++index) {
        const std::uint64_t at = table + 4 * index;
        if (at + 4 > info.size()) {
            break;
        }
        colours[index] = Rgb(info[at + 2], info[at + 1], info[at]);
    }
    return colours;
}

// Where a 16 or 32-bit pixel keeps its red, green and blue.
struct Masks {
    std::uint32_t red, green, blue;
};

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

// The masks of a bit-field bitmap follow the 40-byte header (inside a longer header they take
// the same place); a bitmap without them, or without any set, has the uncompressed defaults.
Masks PixelMasks(const CDib& dib) {
    const bool maskCode =
        dib.Compression() == BI_BITFIELDS || dib.Compression() == BI_ALPHABITFIELDS;
    const std::vector<std::uint8_t>& info = *dib.InfoBlock();
    auto mask = [&](std::size_t at) {
        return std::uint32_t{info[at]} | info[at + 1] << 8 | info[at + 2] << 16 |
               static_cast<std::uint32_t>(info[at + 3]) << 24;
    };
    // The info block always holds its 1024 spare bytes past the header.
    const Masks given{mask(40), mask(44), mask(48)};
    if (maskCode && (given.red | given.green | given.blue) != 0) {
        return given;
    }
    return dib.BitCount() == 16 ? Masks{0x7C00, 0x03E0, 0x001F} : Masks{0xFF0000, 0xFF00, 0xFF};
}

// A channel of `pixel` widened (its bits repeated) or narrowed to 8 bits.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::bit_width(mask >> shift);
    const std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) {
        return (value >> (bits - 8)) & 0xFF;
    }
    std::uint32_t wide = 0;
    int filled = 0;
    for (; filled < 8; filled += bits) {
        wide = wide << bits | value;
    }
    return (wide >> (filled - 8)) & 0xFF;
}

// Colour of source pixel `x` of a row.
std::uint32_t PixelColour(std::uint16_t bitCount,
                          const std::array<std::uint32_t, 256>& indexColours, const Masks& masks,
                          const std::uint8_t* row, std::int64_t x) {
    auto tableColour = [&](std::uint32_t index) { return indexColours[index]; };
    switch (bitCount) {
        case 1:
            return tableColour((row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return tableColour(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        case 8:
            return tableColour(row[x]);
        case 24: {
            const std::int64_t at = x * 3;
            return Rgb(row[at + 2], row[at + 1], row[at]);
        }
        case 16:
        case 32: {
            const std::uint8_t* p = row + x * (bitCount / 8);
            std::uint32_t value = p[0] | p[1] << 8;
            if (bitCount == 32) {
                value |= static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3])
                                                                      << 24;
            }
            return Rgb(Channel(value, masks.red), Channel(value, masks.green),
                       Channel(value, masks.blue));
        }
        default:
            return OPAQUE;
    }
}

}  // namespace

std::optional<std::vector<std::uint32_t>> RenderScaled(const CDib& dib, int width, int height) {
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height);
    if (!RenderScaledInto(dib, width, height, picture.data(), static_cast<std::size_t>(width))) {
        return std::nullopt;
    }
    return picture;
}

bool RenderScaledInto(const CDib& dib, int width, int height, std::uint32_t* picture,
                      std::size_t rowPixels) {
    if (!dib.IsHeld() || width <= 0 || height <= 0) {
        return false;
    }
    const std::uint16_t bitCount = dib.BitCount();
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return false;
    }
    const std::uint32_t compression = dib.Compression();
    const bool runLength =
        (compression == BI_RLE8 && bitCount == 8) || (compression == BI_RLE4 && bitCount == 4);
    const bool bitFields = (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) &&
                           (bitCount == 16 || bitCount == 32);
    if (compression != BI_RGB && !runLength && !bitFields) {
        return false;
    }
    // Run-length bitmaps are drawn from their decoded rows; they are always stored bottom-up.
    std::optional<std::vector<std::uint8_t>> decoded;
    if (runLength) {
        decoded = dib.Height() > 0
                      ? DecodeRunLength(*dib.PixelBlock(), bitCount, dib.Width(), dib.Height())
                      : std::nullopt;
        if (!decoded) {
            return false;
        }
    }
    const std::int64_t sourceWidth = dib.Width();
    const std::int64_t sourceHeight = std::llabs(std::int64_t{dib.Height()});
    const bool topDown = dib.Height() < 0;
    const std::uint64_t stride = dib.RowStride();
    const std::vector<std::uint8_t>& pixels = decoded ? *decoded : *dib.PixelBlock();
    // The stride is checked alone first so that the product cannot wrap.
    if (sourceWidth <= 0 || sourceHeight == 0 || stride > pixels.size() ||
        stride * static_cast<std::uint64_t>(sourceHeight) > pixels.size()) {
        return false;
    }

    const std::array<std::uint32_t, 256> indexColours = IndexColours(dib);
    const Masks masks = PixelMasks(dib);
    for (int y = 0; y < height; ++y) {
        const std::int64_t sourceY = std::int64_t{y} * sourceHeight / height;
        const std::int64_t storedRow = topDown ? sourceY : sourceHeight - 1 - sourceY;
        const std::uint8_t* row = pixels.data() + storedRow * static_cast<std::int64_t>(stride);
        for (int x = 0; x < width; ++x) {
            const std::int64_t sourceX = std::int64_t{x} * sourceWidth / width;
            picture[static_cast<std::size_t>(y) * rowPixels + x] =
                PixelColour(bitCount, indexColours, masks, row, sourceX);
        }
    }
    return true;
}
