#include "demo/DemoPictures.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::int32_t MAX_SIDE = 4096;
constexpr int MAX_COLOURS = 256;

// Rows of each glyph, top first; bit 4 is the leftmost pixel.
using Glyph = std::array<std::uint8_t, GLYPH_HEIGHT>;

constexpr std::array<Glyph, 26> LETTER_GLYPHS = {{
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},  // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E},  // C
    {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},  // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F},  // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},  // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F},  // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E},  // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},  // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11},  // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},  // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11},  // M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},  // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},  // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D},  // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},  // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},  // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},  // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},  // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A},  // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},  // X
    {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04},  // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},  // Z
}};

constexpr std::array<Glyph, 10> DIGIT_GLYPHS = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},  // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},  // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},  // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},  // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},  // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},  // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},  // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},  // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},  // 9
}};

bool SideOk(std::int32_t side) {
    return side >= 1 && side <= MAX_SIDE;
}

// A picture of the given size, every pixel index 0, with no palette yet.
Picture Blank(std::int32_t width, std::int32_t height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return picture;
}

std::uint8_t& At(Picture& picture, std::int32_t x, std::int32_t y) {
    return picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                          static_cast<std::size_t>(x)];
}

// Colour `step` of `steps` evenly from `from` to `to` (step 0 is `from`, step steps - 1 is `to`).
std::uint32_t Mix(std::uint32_t from, std::uint32_t to, int step, int steps) {
    if (steps <= 1) {
        return from & 0xFFFFFF;
    }
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(from >> shift & 0xFF);
        const int b = static_cast<int>(to >> shift & 0xFF);
        const int value = a + (b - a) * step / (steps - 1);
        mixed |= static_cast<std::uint32_t>(value) << shift;
    }
    return mixed;
}

std::vector<std::uint32_t> Ramp(std::uint32_t from, std::uint32_t to, int steps) {
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < steps; ++i) {
        colours.push_back(Mix(from, to, i, steps));
    }
    return colours;
}

std::uint32_t IntegerSquareRoot(std::uint64_t value) {
    std::uint64_t root = 0;
    std::uint64_t bit = std::uint64_t{1} << 62;
    while (bit > value) {
        bit >>= 2;
    }
    while (bit != 0) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<std::uint32_t>(root);
}

// Scale 1 extent of a text: in a row, or stacked with one blank pixel row between glyphs.
struct TextExtent {
    std::int32_t width;
    std::int32_t height;
};

TextExtent UnscaledExtent(std::int32_t width, std::int32_t height, std::size_t length) {
    const auto n = static_cast<std::int32_t>(std::min<std::size_t>(length, MAX_SIDE));
    if (width >= height) {
        return {n * (GLYPH_WIDTH + 1) - 1, GLYPH_HEIGHT};
    }
    return {GLYPH_WIDTH, n * (GLYPH_HEIGHT + 1) - 1};
}

}  // namespace

bool GlyphPixel(char letter, int x, int y) {
    if (x < 0 || x >= GLYPH_WIDTH || y < 0 || y >= GLYPH_HEIGHT) {
        return false;
    }
    const Glyph* glyph = nullptr;
    if (letter >= 'A' && letter <= 'Z') {
        glyph = &LETTER_GLYPHS[static_cast<std::size_t>(letter - 'A')];
    } else if (letter >= 'a' && letter <= 'z') {
        glyph = &LETTER_GLYPHS[static_cast<std::size_t>(letter - 'a')];
    } else if (letter >= '0' && letter <= '9') {
        glyph = &DIGIT_GLYPHS[static_cast<std::size_t>(letter - '0')];
    } else {
        return false;
    }
    return ((*glyph)[static_cast<std::size_t>(y)] >> (GLYPH_WIDTH - 1 - x) & 1) != 0;
}

Picture MakeChecker(std::int32_t width, std::int32_t height, std::int32_t cell, std::uint32_t first,
                    std::uint32_t second) {
    if (!SideOk(width) || !SideOk(height) || cell < 1) {
        return {};
    }
    Picture picture = Blank(width, height);
    picture.colours = {first & 0xFFFFFF, second & 0xFFFFFF};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            At(picture, x, y) = static_cast<std::uint8_t>((x / cell + y / cell) % 2);
        }
    }
    return picture;
}

Picture MakeStripes(std::int32_t width, std::int32_t height, std::int32_t band,
                    std::span<const std::uint32_t> colours, Direction direction) {
    if (!SideOk(width) || !SideOk(height) || band < 1 || colours.empty() ||
        colours.size() > MAX_COLOURS) {
        return {};
    }
    Picture picture = Blank(width, height);
    for (std::uint32_t colour : colours) {
        picture.colours.push_back(colour & 0xFFFFFF);
    }
    const auto count = static_cast<std::int32_t>(colours.size());
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::int32_t along = x;
            if (direction == Direction::Down) {
                along = y;
            } else if (direction == Direction::Diagonal) {
                along = x + (height - 1 - y);  // constant along each line running down-right
            }
            At(picture, x, y) = static_cast<std::uint8_t>(along / band % count);
        }
    }
    return picture;
}

Picture MakeGradient(std::int32_t width, std::int32_t height, std::uint32_t from, std::uint32_t to,
                     int steps, Direction direction) {
    if (!SideOk(width) || !SideOk(height) || steps < 1 || steps > MAX_COLOURS) {
        return {};
    }
    Picture picture = Blank(width, height);
    picture.colours = Ramp(from, to, steps);
    std::int32_t length = width;
    if (direction == Direction::Down) {
        length = height;
    } else if (direction == Direction::Diagonal) {
        length = width + height - 1;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::int32_t along = x;
            if (direction == Direction::Down) {
                along = y;
            } else if (direction == Direction::Diagonal) {
                along = x + y;
            }
            At(picture, x, y) = static_cast<std::uint8_t>(along * steps / length);
        }
    }
    return picture;
}

Picture MakeBlend(std::int32_t width, std::int32_t height, std::uint32_t topLeft,
                  std::uint32_t topRight, std::uint32_t bottomLeft, std::uint32_t bottomRight,
                  int levelsAcross, int levelsDown) {
    if (!SideOk(width) || !SideOk(height) || levelsAcross < 1 || levelsDown < 1 ||
        levelsAcross * levelsDown > MAX_COLOURS) {
        return {};
    }
    Picture picture = Blank(width, height);
    for (int row = 0; row < levelsDown; ++row) {
        const std::uint32_t left = Mix(topLeft, bottomLeft, row, levelsDown);
        const std::uint32_t right = Mix(topRight, bottomRight, row, levelsDown);
        for (int column = 0; column < levelsAcross; ++column) {
            picture.colours.push_back(Mix(left, right, column, levelsAcross));
        }
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t row = y * levelsDown / height;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::int32_t column = x * levelsAcross / width;
            At(picture, x, y) = static_cast<std::uint8_t>(row * levelsAcross + column);
        }
    }
    return picture;
}

Picture MakeRadial(std::int32_t width, std::int32_t height, std::uint32_t centre, std::uint32_t rim,
                   int steps) {
    if (!SideOk(width) || !SideOk(height) || steps < 1 || steps > MAX_COLOURS) {
        return {};
    }
    Picture picture = Blank(width, height);
    picture.colours = Ramp(centre, rim, steps);
    // Doubled coordinates keep the centre of an even-sized picture on whole numbers.
    auto distance = [](std::int64_t dx, std::int64_t dy) {
        return IntegerSquareRoot(static_cast<std::uint64_t>(dx * dx + dy * dy));
    };
    const std::uint32_t farthest = distance(width - 1, height - 1);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t r = distance(2 * x + 1 - width, 2 * y + 1 - height);
            At(picture, x, y) =
                static_cast<std::uint8_t>(std::uint64_t{r} * static_cast<std::uint64_t>(steps) /
                                          (std::uint64_t{farthest} + 1));
        }
    }
    return picture;
}

Picture MakeBricks(std::int32_t width, std::int32_t height, std::int32_t brickWidth,
                   std::int32_t courseHeight, std::uint32_t brick, std::uint32_t mortar,
                   std::uint32_t shade) {
    if (!SideOk(width) || !SideOk(height) || brickWidth < 3 || courseHeight < 3) {
        return {};
    }
    constexpr std::uint8_t BRICK = 0;
    constexpr std::uint8_t MORTAR = 1;
    constexpr std::uint8_t SHADE = 2;
    Picture picture = Blank(width, height);
    picture.colours = {brick & 0xFFFFFF, mortar & 0xFFFFFF, shade & 0xFFFFFF};
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t course = y / courseHeight;
        const std::int32_t inCourse = y % courseHeight;
        const std::int32_t shift = course % 2 == 0 ? 0 : brickWidth / 2;
        for (std::int32_t x = 0; x < width; ++x) {
            const bool joint =
                inCourse == courseHeight - 1 || (x + shift) % brickWidth == brickWidth - 1;
            std::uint8_t index = BRICK;
            if (joint) {
                index = MORTAR;
            } else if (inCourse == courseHeight - 2) {
                index = SHADE;
            }
            At(picture, x, y) = index;
        }
    }
    return picture;
}

bool LetteringFits(std::int32_t width, std::int32_t height, std::string_view text) {
    if (!SideOk(width) || !SideOk(height) || text.empty()) {
        return false;
    }
    const TextExtent extent = UnscaledExtent(width, height, text.size());
    return text.size() <= MAX_SIDE && extent.width <= width && extent.height <= height;
}

Picture MakeLettering(std::int32_t width, std::int32_t height, std::string_view text,
                      std::uint32_t ink, std::uint32_t paper, std::uint32_t shadow) {
    if (!LetteringFits(width, height, text)) {
        return {};
    }
    constexpr std::uint8_t SHADOW = 1;
    constexpr std::uint8_t INK = 2;
    Picture picture = Blank(width, height);
    picture.colours = {paper & 0xFFFFFF, shadow & 0xFFFFFF, ink & 0xFFFFFF};

    const TextExtent unit = UnscaledExtent(width, height, text.size());
    const std::int32_t scale = std::min(width / unit.width, height / unit.height);
    const std::int32_t left = (width - unit.width * scale) / 2;
    const std::int32_t top = (height - unit.height * scale) / 2;
    const bool inRow = width >= height;

    auto draw = [&](std::int32_t offset, std::uint8_t index) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto n = static_cast<std::int32_t>(i);
            const std::int32_t cellLeft = left + (inRow ? n * (GLYPH_WIDTH + 1) * scale : 0);
            const std::int32_t cellTop = top + (inRow ? 0 : n * (GLYPH_HEIGHT + 1) * scale);
            for (std::int32_t y = 0; y < GLYPH_HEIGHT * scale; ++y) {
                for (std::int32_t x = 0; x < GLYPH_WIDTH * scale; ++x) {
                    const std::int32_t px = cellLeft + x + offset;
                    const std::int32_t py = cellTop + y + offset;
                    if (px < width && py < height && GlyphPixel(text[i], x / scale, y / scale)) {
                        At(picture, px, py) = index;
                    }
                }
            }
        }
    };
    // The shadow goes first so that the ink covers it where they overlap.
    if (scale >= 2) {
        draw(scale / 2, SHADOW);
    }
    draw(0, INK);
    return picture;
}

std::uint16_t ToRgba5551(std::uint32_t rgb) {
    const std::uint32_t red = rgb >> 16 & 0xFF;
    const std::uint32_t green = rgb >> 8 & 0xFF;
    const std::uint32_t blue = rgb & 0xFF;
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 3) << 6 | (blue >> 3) << 1);
}

std::vector<std::uint16_t> PicturePalette(const Picture& picture) {
    std::vector<std::uint16_t> palette;
    for (std::uint32_t colour : picture.colours) {
        palette.push_back(ToRgba5551(colour));
    }
    return palette;
}

std::vector<std::uint8_t> PictureIndexStream(const Picture& picture) {
    const std::size_t w = static_cast<std::size_t>(picture.width);
    const std::size_t h = static_cast<std::size_t>(picture.height);
    if (!picture.IsValid() || picture.pixels.size() != w * h ||
        std::any_of(picture.pixels.begin(), picture.pixels.end(),
                    [&](std::uint8_t i) { return i >= picture.colours.size(); })) {
        return {};
    }
    // Bitmap files store the bottom row first, and the editor imports a bitmap's rows as stored,
    // so the textures here keep that order too.
    std::vector<std::uint8_t> stored;
    stored.reserve(w * h);
    for (std::size_t row = h; row-- > 0;) {
        const auto begin = picture.pixels.begin() + static_cast<std::ptrdiff_t>(row * w);
        stored.insert(stored.end(), begin, begin + static_cast<std::ptrdiff_t>(w));
    }
    if (picture.colours.size() >= 16) {
        return stored;
    }
    std::vector<std::uint8_t> packed(stored.size() / 2);
    for (std::size_t i = 0; i < packed.size(); ++i) {
        packed[i] =
            static_cast<std::uint8_t>((stored[2 * i] & 0x0F) << 4 | (stored[2 * i + 1] & 0x0F));
    }
    return packed;
}

std::vector<std::uint32_t> PackIndexWords(std::span<const std::uint8_t> stream) {
    std::vector<std::uint32_t> words((stream.size() + 3) / 4, 0);
    for (std::size_t i = 0; i < stream.size(); ++i) {
        words[i / 4] |= static_cast<std::uint32_t>(stream[i]) << (24 - 8 * (i % 4));
    }
    return words;
}
