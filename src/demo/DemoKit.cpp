#include "demo/DemoKit.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "catalogue/ImageTable.h"
#include "catalogue/SizeClasses.h"
#include "codec/TextureCompressor.h"
#include "codec/UserImage.h"
#include "demo/DemoPictures.h"
#include "dib/IndexedBitmap.h"
#include "io/AtomicFile.h"
#include "io/RomImage.h"
#include "texts/TextFormat.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t FILLER_SEED = 0x4D474C53;
// Fills the room behind each record.
constexpr std::uint8_t PADDING = 0xFF;
constexpr std::size_t INTERNAL_NAME_OFFSET = 0x20;
constexpr std::size_t INTERNAL_NAME_LENGTH = 20;
constexpr std::size_t COUNTRY_OFFSET = 0x3E;
constexpr std::uint8_t COUNTRY_NORTH_AMERICA = 0x45;
constexpr std::size_t HEADER_LENGTH = 0x40;

// Class "20 x 20" gets many textures, so that its listing runs over several rows; its first
// textures also get rooms cut to the user bitmaps' record sizes.
constexpr int CROWDED_CLASS = 7;
constexpr int CROWDED_CLASS_TEXTURES = 40;

// Extra room behind a record, varied so that textures of one class differ in room.
constexpr std::array<std::uint32_t, 8> SLACKS = {0, 2, 9, 24, 60, 130, 300, 0x2A0};

// The table's values after the last texture stay below this position.
constexpr std::uint32_t TABLE_CEILING = ROM_IMAGE_SIZE - 0x10;

struct NamedColour {
    const char* name;
    std::uint32_t rgb;
};

constexpr std::array<NamedColour, 10> COLOURS = {{
    {"red", 0xC83232},
    {"green", 0x2E9E44},
    {"blue", 0x3556D0},
    {"yellow", 0xE8C22E},
    {"purple", 0x8A44B8},
    {"orange", 0xE6862A},
    {"teal", 0x22A0A0},
    {"grey", 0x8C8C8C},
    {"pink", 0xE474A8},
    {"brown", 0x85532E},
}};

constexpr std::array<std::string_view, 8> WORDS = {"MOON",  "GLASS", "STAR",  "GATE",
                                                   "TOWER", "EMBER", "FROST", "MOONGLASS"};

enum Kind { CHECKER, GRADIENT, LETTERING, GLOW, STRIPES, BLEND, BRICKS, RAINBOW, KIND_COUNT };

struct Texture {
    int sizeClass = 0;
    Picture picture;
    std::string shortName;
    std::string description;  // empty: the description file has no line for it
    Bytes record;
    std::uint32_t offset = 0;
    std::uint32_t room = 0;
};

struct UserBitmap {
    std::string fileName;
    Picture picture;
    int bitCount = 0;
    Bytes file;
    int entries = 0;
    std::size_t recordSize = 0;
};

std::string TrimmedRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::uint32_t Halfway(std::uint32_t rgb, std::uint32_t target) {
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t sum = (rgb >> shift & 0xFF) + (target >> shift & 0xFF);
        mixed |= (sum / 2) << shift;
    }
    return mixed;
}

std::uint32_t Lighter(std::uint32_t rgb) {
    return Halfway(rgb, 0xFFFFFF);
}

std::uint32_t Darker(std::uint32_t rgb) {
    return Halfway(rgb, 0x000000);
}

// Sixteen colours round the colour wheel.
std::vector<std::uint32_t> RainbowColours() {
    constexpr std::array<std::uint32_t, 7> anchors = {0xE03030, 0xE88A20, 0xE8D030, 0x40B040,
                                                      0x20A8A8, 0x3050D8, 0x9040C0};
    std::vector<std::uint32_t> colours;
    for (int k = 0; k < 16; ++k) {
        const int segment = k * 6 / 15;
        const int within = k * 6 % 15;
        const std::uint32_t from = anchors[static_cast<std::size_t>(segment)];
        const std::uint32_t to = anchors[static_cast<std::size_t>(std::min(segment + 1, 6))];
        // within / 15 of the way from `from` to `to`.
        std::uint32_t mixed = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int a = static_cast<int>(from >> shift & 0xFF);
            const int b = static_cast<int>(to >> shift & 0xFF);
            mixed |= static_cast<std::uint32_t>(a + (b - a) * within / 15) << shift;
        }
        colours.push_back(mixed);
    }
    return colours;
}

// A class's folder below the kit, '/' separated, without leading or trailing separators.
std::string ClassFolder(int sizeClass) {
    std::string folder(SizeClasses()[static_cast<std::size_t>(sizeClass)].folder);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    const auto first = folder.find_first_not_of('/');
    const auto last = folder.find_last_not_of('/');
    return first == std::string::npos ? std::string() : folder.substr(first, last - first + 1);
}

std::string ClassLabel(int sizeClass) {
    return std::string(SizeClasses()[static_cast<std::size_t>(sizeClass)].comboLabel);
}

std::string_view FormatFlag(int sizeClass) {
    return SizeClasses()[static_cast<std::size_t>(sizeClass)].formatFlag;
}

Bytes CompressPicture(const Picture& picture, std::string_view formatLetter) {
    const Bytes stream = PictureIndexStream(picture);
    const std::vector<std::uint32_t> words = PackIndexWords(stream);
    const std::vector<std::uint16_t> palette = PicturePalette(picture);
    return CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, picture.width, picture.height,
                           words, palette, static_cast<int>(palette.size()), formatLetter);
}

// The picture, short file name and description of texture `index` of a class, drawn as `kind`.
Texture DrawTexture(int sizeClass, int index, int kind) {
    const auto width = static_cast<std::int32_t>(ClassWidth(sizeClass));
    const auto height = static_cast<std::int32_t>(ClassHeight(sizeClass));
    const NamedColour& a = COLOURS[static_cast<std::size_t>(sizeClass * 3 + index * 7) % 10];
    const NamedColour& b = COLOURS[static_cast<std::size_t>(sizeClass * 3 + index * 7 + 4) % 10];
    const NamedColour& c = COLOURS[static_cast<std::size_t>(sizeClass * 3 + index * 7 + 6) % 10];
    const NamedColour& d = COLOURS[static_cast<std::size_t>(sizeClass * 3 + index * 7 + 8) % 10];
    const std::int32_t shortSide = std::min(width, height);
    const std::int32_t longSide = std::max(width, height);
    const auto directionOf = [&](int n) {
        constexpr std::array<Direction, 3> directions = {Direction::Across, Direction::Down,
                                                         Direction::Diagonal};
        return directions[static_cast<std::size_t>(n) % 3];
    };

    Texture texture;
    texture.sizeClass = sizeClass;
    switch (kind) {
        case CHECKER:
            texture.picture = MakeChecker(width, height, std::max(1, shortSide / (2 + index % 3)),
                                          a.rgb, Lighter(Lighter(a.rgb)));
            texture.shortName = "checker";
            texture.description = Capitalised(FormatText("%s checker board", a.name));
            break;
        case GRADIENT: {
            constexpr std::array<const char*, 3> ways = {"left to right", "top to bottom",
                                                         "corner to corner"};
            const int steps = std::clamp(longSide, 16, 64);
            texture.picture = MakeGradient(width, height, Darker(a.rgb), Lighter(a.rgb), steps,
                                           directionOf(index));
            texture.shortName = "gradient";
            texture.description = Capitalised(
                FormatText("%s gradient, %s", a.name, ways[static_cast<std::size_t>(index) % 3]));
            break;
        }
        case LETTERING: {
            const std::string_view word = WORDS[static_cast<std::size_t>(sizeClass + index) % 8];
            const bool longShape = longSide >= 3 * shortSide;
            std::string text;
            if (longShape && LetteringFits(width, height, word)) {
                text = std::string(word);
                texture.shortName = "word-" + text;
                texture.description = FormatText("Word %s on %s", text.c_str(), b.name);
            } else {
                text = std::string(1, static_cast<char>('A' + (sizeClass * 7 + index * 3) % 26));
                texture.shortName = "letter-" + text;
                texture.description = FormatText("Letter %s on %s", text.c_str(), b.name);
            }
            texture.picture = MakeLettering(width, height, text, 0xF4F0E0, b.rgb, Darker(b.rgb));
            break;
        }
        case GLOW:
            texture.picture =
                MakeRadial(width, height, Lighter(a.rgb), Darker(b.rgb), 24 + 8 * (index % 3));
            texture.shortName = "glow";
            texture.description = Capitalised(FormatText("%s glow fading to %s", a.name, b.name));
            break;
        case STRIPES: {
            const int count = 3 + index % 4;
            std::vector<std::uint32_t> colours;
            std::string names;
            for (int k = 0; k < count; ++k) {
                const NamedColour& colour =
                    COLOURS[static_cast<std::size_t>(sizeClass * 3 + index * 7 + 3 * k) % 10];
                colours.push_back(colour.rgb);
                names += k == 0 ? "" : (k == count - 1 ? " and " : ", ");
                names += colour.name;
            }
            texture.picture = MakeStripes(width, height, std::max(1, shortSide / 8), colours,
                                          directionOf(index + sizeClass));
            texture.shortName = "stripes";
            texture.description = Capitalised(names + " stripes");
            break;
        }
        case BLEND: {
            const int across = std::clamp(width / 2, 4, 16);
            const int down = std::clamp(height / 2, 4, 256 / across);
            texture.picture = MakeBlend(width, height, a.rgb, b.rgb, c.rgb, d.rgb, across, down);
            texture.shortName = "blend";
            texture.description = Capitalised(
                FormatText("Blend of %s, %s, %s and %s", a.name, b.name, c.name, d.name));
            break;
        }
        case BRICKS:
            texture.picture = MakeBricks(width, height, std::max(3, width / 4),
                                         std::max(3, height / 4), a.rgb, 0xC8C8C0, Darker(a.rgb));
            texture.shortName = "bricks";
            texture.description = Capitalised(FormatText("%s brick wall", a.name));
            break;
        default: {
            texture.picture = MakeStripes(width, height, std::max(1, shortSide / 16),
                                          RainbowColours(), Direction::Diagonal);
            texture.shortName = "rainbow";
            texture.description = "Rainbow stripes";
            break;
        }
    }
    return texture;
}

int TextureCount(int sizeClass) {
    return sizeClass == CROWDED_CLASS ? CROWDED_CLASS_TEXTURES : 3 + sizeClass % 4;
}

// The user bitmaps: every accepted width, 4 and 8 bits, from a few colours to 200.
std::vector<UserBitmap> DrawUserBitmaps() {
    std::vector<UserBitmap> bitmaps;
    auto add = [&](std::string name, Picture picture, int bitCount) {
        UserBitmap bitmap;
        bitmap.fileName = std::move(name);
        bitmap.picture = std::move(picture);
        bitmap.bitCount = bitCount;
        bitmaps.push_back(std::move(bitmap));
    };
    add("sun 8x8 4-bit.bmp", MakeRadial(8, 8, 0xFFF0A0, 0xC04010, 6), 4);
    std::vector<std::uint32_t> tens;
    for (int k = 0; k < 10; ++k) {
        tens.push_back(COLOURS[static_cast<std::size_t>(k)].rgb);
    }
    add("stripes 16x16 4-bit.bmp", MakeStripes(16, 16, 2, tens, Direction::Diagonal), 4);
    add("rainbow 32x32 8-bit.bmp", MakeStripes(32, 32, 2, RainbowColours(), Direction::Diagonal),
        8);
    add("blend 32x32 8-bit 200 colours.bmp",
        MakeBlend(32, 32, 0xF0E040, 0xE04080, 0x40C0E0, 0x303090, 20, 10), 8);
    add("gradient 40x16 8-bit.bmp", MakeGradient(40, 16, 0x102060, 0xF0F8FF, 40, Direction::Across),
        8);
    add("glow 64x32 8-bit.bmp", MakeRadial(64, 32, 0xFFFFE0, 0x401060, 64), 8);
    add("band 72x5 4-bit.bmp", MakeStripes(72, 5, 4, RainbowColours(), Direction::Across), 4);
    // In the order the editor lists them, so that the README's numbering matches the window.
    std::sort(bitmaps.begin(), bitmaps.end(),
              [](const UserBitmap& x, const UserBitmap& y) { return x.fileName < y.fileName; });
    return bitmaps;
}

// Deterministic filler for the parts of the image that hold no texture (xorshift32).
Bytes FilledImage() {
    Bytes image(ROM_IMAGE_SIZE);
    std::uint32_t state = FILLER_SEED;
    for (std::size_t i = 0; i < image.size(); i += 4) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        for (std::size_t k = 0; k < 4 && i + k < image.size(); ++k) {
            image[i + k] = static_cast<std::uint8_t>(state >> (8 * k));
        }
    }
    std::fill(image.begin(), image.begin() + HEADER_LENGTH, 0);
    std::fill(image.begin() + INTERNAL_NAME_OFFSET,
              image.begin() + INTERNAL_NAME_OFFSET + INTERNAL_NAME_LENGTH, ' ');
    const std::string_view name = DEMO_INTERNAL_NAME;
    std::copy(name.begin(), name.end(), image.begin() + INTERNAL_NAME_OFFSET);
    image[COUNTRY_OFFSET] = COUNTRY_NORTH_AMERICA;
    image[COUNTRY_OFFSET + 1] = 0x00;  // version
    return image;
}

Bytes LittleEndianTable(const std::vector<std::uint32_t>& values) {
    Bytes bytes;
    for (std::uint32_t value : values) {
        for (int k = 0; k < 4; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
        }
    }
    return bytes;
}

std::string TextureFileName(const Texture& texture) {
    return FormatText("%06X %s.bmp", static_cast<unsigned>(texture.offset),
                      texture.shortName.c_str());
}

std::string DepthText(std::size_t colours) {
    return FormatText("%s, %3zu colours", colours < 16 ? "4-bit" : "8-bit", colours);
}

// Everything placed, ready to be written out.
struct Layout {
    std::vector<Texture> textures;  // ascending offsets
    std::vector<UserBitmap> users;
    // Textures of the crowded class whose room was cut to a user bitmap's record size:
    // (texture index in `textures`, user bitmap index, true for "exactly fits").
    struct Boundary {
        std::size_t texture;
        std::size_t user;
        bool fits;
    };
    std::vector<Boundary> boundaries;
};

std::string BuildReadme(const Layout& layout, const std::vector<std::uint32_t>& table) {
    std::string text;
    auto line = [&](const std::string& content) { text += content + "\n"; };
    const std::size_t textureCount = layout.textures.size();

    line("MOONGLASS DEMO KIT");
    line("==================");
    line("");
    line("A complete, made-up set-up for trying the Moonglass ROM image editor. Nothing here");
    line("comes from the game: the ROM image, the pictures, the descriptions and the image table");
    line("were generated by \"mgromtool demo-kit\", which writes the same bytes every time.");
    line("");
    line("Using it");
    line("--------");
    line("The editor reads romimages/ and tableBinary.bin from the folder of its own program");
    line("file, or when that has no romimages/, from ~/.local/share/MGROMImageEditor/");
    line("($XDG_DATA_HOME/MGROMImageEditor/), where \"mgromtool demo-kit\" without a folder");
    line("writes the kit; an installed editor finds it there.");
    line("Start the editor with the kit's folder as the current folder and choose");
    line("File > Load Moonglass ROM: the dialog offers MOONGLASS.ROM. The image is in native byte");
    line(
        "order; \"mgromtool swap MOONGLASS.ROM MOONGLASS.v64\" gives the swapped-order copy, "
        "which");
    line("loads as well, and \"mgromtool check FILE\" tells either order.");
    line("");
    line("What is in it");
    line("-------------");
    line(FormatText("%-16s native byte order, %u bytes, internal name \"%s\" at 0x20,",
                    DEMO_ROM_NAME, static_cast<unsigned>(ROM_IMAGE_SIZE), DEMO_INTERNAL_NAME));
    line("                 country code 0x45 (E) and version 0 at 0x3E and 0x3F;");
    line(FormatText(
        "                 %zu texture records from offset 0x%X up, each followed by 0xFF",
        textureCount, static_cast<unsigned>(DEMO_FIRST_TEXTURE)));
    line("                 padding up to the next one.");
    line(FormatText("%-16s %zu little-endian 32-bit positions. For a texture at X the value",
                    IMAGE_TABLE_FILE, IMAGE_TABLE_LENGTH));
    line("                 X - 1 is followed by X + room, so the editor finds its room; the");
    line("                 values after the last texture only keep the table in order.");
    line("romimages/       one folder per size class with a bitmap per texture, named by its");
    line("                 offset, and the class's description file; the last texture of each");
    line("                 class has no description line and shows \"No Description\".");
    line(FormatText(
        "romimages/User/  %zu bitmaps standing in for your own, all accepted by Load ROM.",
        layout.users.size()));
    line("");
    line("Textures");
    line("--------");
    line("Offset (native order, as in the file name), room (bytes the texture may occupy, from");
    line(
        "tableBinary.bin), size of its record, depth and colours, bitmap, description (\"-\" when");
    line("there is none).");
    int shownClass = -1;
    for (const Texture& texture : layout.textures) {
        if (texture.sizeClass != shownClass) {
            shownClass = texture.sizeClass;
            const auto& info = SizeClasses()[static_cast<std::size_t>(shownClass)];
            line("");
            line(FormatText("%s  (%s/, %s, %u x %u pixels, format %s)",
                            ClassLabel(shownClass).c_str(), ClassFolder(shownClass).c_str(),
                            std::string(info.descriptionFile).c_str(), ClassWidth(shownClass),
                            ClassHeight(shownClass), std::string(info.formatFlag).c_str()));
        }
        line(FormatText("  %06X  room 0x%04X  record 0x%04X  %s  %-24s %s",
                        static_cast<unsigned>(texture.offset), static_cast<unsigned>(texture.room),
                        static_cast<unsigned>(texture.record.size()),
                        DepthText(texture.picture.colours.size()).c_str(),
                        TextureFileName(texture).c_str(),
                        texture.description.empty() ? "-" : texture.description.c_str()));
    }

    line("");
    line("User bitmaps");
    line("------------");
    line("A user bitmap can replace a texture when its compressed record is no larger than the");
    line("texture's room; otherwise Replace answers \"Too large, cannot replace\". Their records,");
    line("as the editor computes them:");
    for (const UserBitmap& user : layout.users) {
        line(FormatText("  %-34s %2d x %2d, %d-bit file, %3d colours: record 0x%04zX bytes",
                        user.fileName.c_str(), user.picture.width, user.picture.height,
                        user.bitCount, user.entries, user.recordSize));
    }
    line("");
    line("Pairs to try (user bitmap -> class, texture offset). The first texture of each pair");
    line("has a room of exactly the bitmap's record size, the second one byte less:");
    for (const Layout::Boundary& boundary : layout.boundaries) {
        const Texture& texture = layout.textures[boundary.texture];
        const UserBitmap& user = layout.users[boundary.user];
        line(FormatText("  %-9s %-34s -> %s  %06X  (room 0x%04X, record 0x%04zX)",
                        boundary.fits ? "fits" : "too large", user.fileName.c_str(),
                        ClassLabel(texture.sizeClass).c_str(),
                        static_cast<unsigned>(texture.offset), static_cast<unsigned>(texture.room),
                        user.recordSize));
    }
    line("");
    line("How many textures of each class each user bitmap fits (fitting/all):");
    std::string header = FormatText("  %-10s", "class");
    for (std::size_t u = 0; u < layout.users.size(); ++u) {
        header += FormatText("  U%-4zu", u + 1);
    }
    line(TrimmedRight(header));
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        std::string row = FormatText("  %-10s", ClassLabel(sizeClass).c_str());
        for (const UserBitmap& user : layout.users) {
            int all = 0;
            int fitting = 0;
            for (const Texture& texture : layout.textures) {
                if (texture.sizeClass == sizeClass) {
                    ++all;
                    fitting += user.recordSize <= texture.room ? 1 : 0;
                }
            }
            row += FormatText("  %2d/%-2d", fitting, all);
        }
        line(TrimmedRight(row));
    }
    std::string legend = "  ";
    for (std::size_t u = 0; u < layout.users.size(); ++u) {
        legend += FormatText("U%zu = %s%s", u + 1, layout.users[u].fileName.c_str(),
                             u + 1 < layout.users.size() ? "; " : "");
        if (legend.size() > 70 && u + 1 < layout.users.size()) {
            line(TrimmedRight(legend));
            legend = "  ";
        }
    }
    line(legend);
    line("");
    // The crowded class's smallest and largest rooms show both outcomes between game textures.
    const Texture* smallest = nullptr;
    const Texture* largest = nullptr;
    for (const Texture& texture : layout.textures) {
        if (texture.sizeClass == CROWDED_CLASS) {
            if (smallest == nullptr || texture.room < smallest->room) {
                smallest = &texture;
            }
            if (largest == nullptr || texture.room > largest->room) {
                largest = &texture;
            }
        }
    }
    line("Game textures replace each other by the same rule, the source's room counting as its");
    if (smallest != nullptr && largest != nullptr) {
        line(FormatText(
            "size: in %s, %06X (room 0x%04X) is too large for %06X (room 0x%04X), while",
            ClassLabel(CROWDED_CLASS).c_str(), static_cast<unsigned>(largest->offset),
            static_cast<unsigned>(largest->room), static_cast<unsigned>(smallest->offset),
            static_cast<unsigned>(smallest->room)));
        line(FormatText("%06X can replace %06X.", static_cast<unsigned>(smallest->offset),
                        static_cast<unsigned>(largest->offset)));
    }
    line(FormatText(
        "The image table holds %zu values; the last texture ends at 0x%X.", table.size(),
        static_cast<unsigned>(layout.textures.back().offset + layout.textures.back().room)));
    return text;
}

// Chooses the room of a texture of the crowded class that is cut to a user bitmap's record:
// the first of the simple pictures whose own record fits in `room` takes it.
bool PlaceBoundaryTexture(int index, std::uint32_t room, Texture& texture) {
    for (int kind : {(2 * index) % KIND_COUNT, static_cast<int>(CHECKER)}) {
        Texture candidate = DrawTexture(CROWDED_CLASS, index, kind);
        candidate.record = CompressPicture(candidate.picture, FormatFlag(CROWDED_CLASS));
        if (!candidate.record.empty() && candidate.record.size() <= room) {
            texture = std::move(candidate);
            texture.room = room;
            return true;
        }
    }
    return false;
}

}  // namespace

DemoKitContents BuildDemoKit() {
    DemoKitContents contents;
    Layout layout;

    layout.users = DrawUserBitmaps();
    for (UserBitmap& user : layout.users) {
        user.file = EncodeIndexedBitmap(user.picture.width, user.picture.height, user.bitCount,
                                        user.picture.colours, user.picture.pixels);
        const UserImage prepared = PrepareUserImage(std::span<const std::uint8_t>(user.file), "N");
        if (user.file.empty() || prepared.result != ConvertResult::Ok) {
            contents.error = "the user bitmap " + user.fileName + " cannot be converted";
            return contents;
        }
        user.entries = prepared.entries;
        user.recordSize = prepared.record.size();
    }

    std::uint32_t cursor = DEMO_FIRST_TEXTURE;
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const int count = TextureCount(sizeClass);
        for (int index = 0; index < count; ++index) {
            Texture texture;
            bool placed = false;
            const auto boundaryUser = static_cast<std::size_t>(index / 2);
            if (sizeClass == CROWDED_CLASS && boundaryUser < layout.users.size()) {
                // Pairs of textures whose rooms are exactly a user record, and one byte less.
                const bool fits = index % 2 == 0;
                const auto room =
                    static_cast<std::uint32_t>(layout.users[boundaryUser].recordSize) -
                    (fits ? 0u : 1u);
                placed = PlaceBoundaryTexture(index, room, texture);
                if (placed) {
                    layout.boundaries.push_back({layout.textures.size(), boundaryUser, fits});
                }
            }
            if (!placed) {
                texture = DrawTexture(sizeClass, index, (index + sizeClass) % KIND_COUNT);
                texture.record = CompressPicture(texture.picture, FormatFlag(sizeClass));
                texture.room = static_cast<std::uint32_t>(texture.record.size()) +
                               SLACKS[static_cast<std::size_t>(sizeClass * 5 + index * 3) % 8];
            }
            if (texture.record.empty()) {
                contents.error = FormatText("texture %d of class %s cannot be compressed", index,
                                            ClassLabel(sizeClass).c_str());
                return contents;
            }
            if (index == count - 1) {
                texture.description.clear();  // shows "No Description"
            }
            texture.offset = cursor;
            // The table bounds a room as the distance between two values less one, so the next
            // texture starts one byte after this one's room.
            cursor += texture.room + 1;
            layout.textures.push_back(std::move(texture));
        }
    }

    std::vector<std::uint32_t> table;
    for (const Texture& texture : layout.textures) {
        table.push_back(texture.offset - 1);
    }
    table.push_back(cursor - 1);
    if (table.size() > IMAGE_TABLE_LENGTH || cursor >= TABLE_CEILING) {
        contents.error = "the textures do not fit the image table";
        return contents;
    }
    const std::size_t remaining = IMAGE_TABLE_LENGTH - table.size();
    const auto step = static_cast<std::uint32_t>((TABLE_CEILING - cursor) / (remaining + 1));
    if (step == 0) {
        contents.error = "the textures leave no room for the rest of the image table";
        return contents;
    }
    for (std::size_t k = 1; k <= remaining; ++k) {
        table.push_back(cursor - 1 + step * static_cast<std::uint32_t>(k));
    }

    Bytes image = FilledImage();
    for (const Texture& texture : layout.textures) {
        std::copy(texture.record.begin(), texture.record.end(), image.begin() + texture.offset);
        // The room behind a record is padding, as in a cartridge image, so that a catalogue
        // built from the image alone finds the rooms of the table.
        std::fill(
            image.begin() + texture.offset + static_cast<std::ptrdiff_t>(texture.record.size()),
            image.begin() + texture.offset + texture.room + 1, PADDING);
    }
    // The last room ends where the table says: the byte after it is no padding.
    if (image[cursor] == 0x00 || image[cursor] == PADDING) {
        image[cursor] = 0x5A;
    }
    contents.files.push_back({DEMO_ROM_NAME, std::move(image)});
    contents.files.push_back({IMAGE_TABLE_FILE, LittleEndianTable(table)});

    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const std::string folder = ClassFolder(sizeClass) + "/";
        std::string descriptions;
        for (const Texture& texture : layout.textures) {
            if (texture.sizeClass != sizeClass) {
                continue;
            }
            const Picture& picture = texture.picture;
            const int bitCount = picture.colours.size() < 16 ? 4 : 8;
            contents.files.push_back({folder + TextureFileName(texture),
                                      EncodeIndexedBitmap(picture.width, picture.height, bitCount,
                                                          picture.colours, picture.pixels)});
            if (!texture.description.empty()) {
                descriptions += FormatText("%06X %s\n", static_cast<unsigned>(texture.offset),
                                           texture.description.c_str());
            }
        }
        const std::string_view descriptionFile =
            SizeClasses()[static_cast<std::size_t>(sizeClass)].descriptionFile;
        contents.files.push_back({folder + std::string(descriptionFile),
                                  Bytes(descriptions.begin(), descriptions.end())});
    }
    for (const UserBitmap& user : layout.users) {
        contents.files.push_back({ClassFolder(USER_CLASS) + "/" + user.fileName, user.file});
    }
    const std::string readme = BuildReadme(layout, table);
    contents.files.push_back({DEMO_README_NAME, Bytes(readme.begin(), readme.end())});

    for (const KitFile& file : contents.files) {
        if (file.bytes.empty() && file.relativePath.find(".ini") == std::string::npos) {
            contents.files.clear();
            contents.error = "the kit's file " + file.relativePath + " came out empty";
            return contents;
        }
    }
    contents.ok = true;
    contents.textureCount = static_cast<int>(layout.textures.size());
    contents.userBitmapCount = static_cast<int>(layout.users.size());
    return contents;
}

DemoKitResult MakeDemoKit(const std::filesystem::path& dir) {
    DemoKitResult result;
    const DemoKitContents contents = BuildDemoKit();
    if (!contents.ok) {
        result.message = "The demo kit could not be made: " + contents.error + ".";
        return result;
    }
    for (const KitFile& file : contents.files) {
        const std::filesystem::path path = dir / std::filesystem::path(file.relativePath);
        const FileWriteResult folder = CreateFolders(path.parent_path());
        if (!folder.ok) {
            result.message = folder.error;
            return result;
        }
        const FileWriteResult written = WriteFileAtomically(path, file.bytes);
        if (!written.ok) {
            result.message = written.error;
            return result;
        }
    }
    result.ok = true;
    result.message = FormatText(
        "Wrote the demo kit to %s: %s with %d textures in %d size classes, %s, %d user bitmaps "
        "and %s.",
        dir.string().c_str(), DEMO_ROM_NAME, contents.textureCount, USER_CLASS, IMAGE_TABLE_FILE,
        contents.userBitmapCount, DEMO_README_NAME);
    return result;
}
