#include "dib/DibRender.h"

#include <algorithm>
#include <array>
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

// Colour of source pixel `x` of a row.
std::uint32_t PixelColour(std::uint16_t bitCount,
                          const std::array<std::uint32_t, 256>& indexColours,
                          const std::uint8_t* row, std::int64_t x) {
    auto tableColour = [&](std::uint32_t index) { return indexColours[index]; };
    switch (bitCount) {
        case 1:
            return tableColour((row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return tableColour(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        case 8:
            return tableColour(row[x]);
        case 16: {
            const std::uint32_t value = row[2 * x] | row[2 * x + 1] << 8;
            auto expand = [](std::uint32_t five) { return five << 3 | five >> 2; };
            return Rgb(expand(value >> 10 & 0x1F), expand(value >> 5 & 0x1F), expand(value & 0x1F));
        }
        case 24:
        case 32: {
            const std::int64_t at = x * (bitCount / 8);
            return Rgb(row[at + 2], row[at + 1], row[at]);
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
    if (!dib.IsHeld() || width <= 0 || height <= 0 || dib.Compression() != 0) {
        return false;
    }
    switch (dib.BitCount()) {
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
    const std::int64_t sourceWidth = dib.Width();
    const std::int64_t sourceHeight = std::llabs(std::int64_t{dib.Height()});
    const bool topDown = dib.Height() < 0;
    const std::uint64_t stride = dib.RowStride();
    const std::vector<std::uint8_t>& pixels = *dib.PixelBlock();
    // The stride is checked alone first so that the product cannot wrap.
    if (sourceWidth <= 0 || sourceHeight == 0 || stride > pixels.size() ||
        stride * static_cast<std::uint64_t>(sourceHeight) > pixels.size()) {
        return false;
    }

    const std::array<std::uint32_t, 256> indexColours = IndexColours(dib);
    const std::uint16_t bitCount = dib.BitCount();
    for (int y = 0; y < height; ++y) {
        const std::int64_t sourceY = std::int64_t{y} * sourceHeight / height;
        const std::int64_t storedRow = topDown ? sourceY : sourceHeight - 1 - sourceY;
        const std::uint8_t* row = pixels.data() + storedRow * static_cast<std::int64_t>(stride);
        for (int x = 0; x < width; ++x) {
            const std::int64_t sourceX = std::int64_t{x} * sourceWidth / width;
            picture[static_cast<std::size_t>(y) * rowPixels + x] =
                PixelColour(bitCount, indexColours, row, sourceX);
        }
    }
    return true;
}
