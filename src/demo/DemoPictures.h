#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Small palette pictures drawn by the program itself, for the demo kit's textures and user
// bitmaps: checkers, stripes, gradients, blends, radial gradients, bricks and lettering in a
// built-in 5 x 7 pixel font. Colours are 0xRRGGBB values.

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> colours;  // the palette, 1 to 256 entries
    std::vector<std::uint8_t> pixels;    // width x height palette indices, top row first

    // False for the empty picture that the makers return for arguments they refuse.
    bool IsValid() const {
        return width > 0 && height > 0 && !colours.empty() && colours.size() <= 256;
    }
};

enum class Direction { Across, Down, Diagonal };

// The glyph cell of the built-in font.
inline constexpr int GLYPH_WIDTH = 5;
inline constexpr int GLYPH_HEIGHT = 7;

// Whether pixel (x, y) of `letter`'s 5 x 7 glyph is inked. The font has the letters A to Z
// (either case) and the digits; any other character, and any position outside the cell, is
// blank.
bool GlyphPixel(char letter, int x, int y);

// Every maker below returns an empty picture when width or height is below 1 or above 4096, or
// when its other arguments are out of the range it states.

// Squares of `cell` pixels (at least 1) alternating between two colours, `first` at the top
// left.
Picture MakeChecker(std::int32_t width, std::int32_t height, std::int32_t cell, std::uint32_t first,
                    std::uint32_t second);

// Bands `band` pixels wide (at least 1) cycling through `colours` (1 to 256 of them): vertical
// bands for Across, horizontal ones for Down, bands running down to the right for Diagonal.
Picture MakeStripes(std::int32_t width, std::int32_t height, std::int32_t band,
                    std::span<const std::uint32_t> colours, Direction direction);

// `steps` (1 to 256) colours evenly from `from` to `to`, spread over the picture left to right
// (Across), top to bottom (Down) or from the top left corner to the bottom right (Diagonal).
Picture MakeGradient(std::int32_t width, std::int32_t height, std::uint32_t from, std::uint32_t to,
                     int steps, Direction direction);

// A two-way blend of four corner colours in levelsAcross x levelsDown colours (each at least 1,
// their product at most 256): the palette holds one colour per cell of that grid.
Picture MakeBlend(std::int32_t width, std::int32_t height, std::uint32_t topLeft,
                  std::uint32_t topRight, std::uint32_t bottomLeft, std::uint32_t bottomRight,
                  int levelsAcross, int levelsDown);

// `steps` (1 to 256) colours from `centre` at the middle of the picture to `rim` at its corners,
// in rings of equal width.
Picture MakeRadial(std::int32_t width, std::int32_t height, std::uint32_t centre, std::uint32_t rim,
                   int steps);

// A brick wall: bricks of `brick` colour, every other course shifted by half a brick, with
// `mortar` between them and a `shade` line along the bottom of each brick. `brickWidth` and
// `courseHeight` are at least 3.
Picture MakeBricks(std::int32_t width, std::int32_t height, std::int32_t brickWidth,
                   std::int32_t courseHeight, std::uint32_t brick, std::uint32_t mortar,
                   std::uint32_t shade);

// Whether `text` fits a width x height picture in the built-in font at scale 1 or more: in a
// row when the picture is at least as wide as tall, otherwise stacked from the top.
bool LetteringFits(std::int32_t width, std::int32_t height, std::string_view text);

// `text` in the built-in font at the largest scale that fits, centred, in `ink` on `paper`, with
// a `shadow` below and to the right once the scale is 2 or more. Palette: paper, shadow, ink.
// Empty when the text is empty or does not fit (LetteringFits).
Picture MakeLettering(std::int32_t width, std::int32_t height, std::string_view text,
                      std::uint32_t ink, std::uint32_t paper, std::uint32_t shadow);

// The game's RGBA5551 form of a colour: the top five bits of red, green and blue at bits 15-11,
// 10-6 and 5-1; bit 0 clear.
std::uint16_t ToRgba5551(std::uint32_t rgb);

// The picture's palette in RGBA5551.
std::vector<std::uint16_t> PicturePalette(const Picture& picture);

// The picture's index stream as a texture holds it, rows in the order a bitmap file stores them
// (bottom row first), each left to right. With fewer than 16 colours two pixels share a byte, the
// first in the high nibble, and an odd last pixel is dropped (width x height / 2 bytes); with 16
// or more, one byte a pixel. Empty for an invalid picture or one with an index outside its
// palette.
std::vector<std::uint8_t> PictureIndexStream(const Picture& picture);

// Index words for the compressor: four stream bytes a word, the earliest byte most significant;
// a partial last word is padded with zeros.
std::vector<std::uint32_t> PackIndexWords(std::span<const std::uint8_t> stream);
