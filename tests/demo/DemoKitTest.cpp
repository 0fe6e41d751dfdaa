// Checks the demo kit the way the editor reads it: the ROM header, the records at the offsets
// that the bitmaps' names give, the rooms that tableBinary.bin gives, the description keys, the
// user bitmaps' header rules, and the README's claims about which user bitmaps fit where.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/RomCheck.h"
#include "catalogue/SizeClasses.h"
#include "codec/RecordInflater.h"
#include "codec/TextureCompressor.h"
#include "codec/UserImage.h"
#include "demo/DemoKit.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t DEFAULT_ROOM = 0x200;

// A 4 or 8-bit bitmap decoded independently of the kit's writer.
struct Decoded {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::uint32_t infoHeaderSize = 0;
    std::vector<std::uint16_t> palette;  // colour table in RGBA5551
    Bytes pixels;                        // one index a pixel, in stored row order
};

std::uint32_t U32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::optional<Decoded> Decode(const Bytes& file) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') {
        return std::nullopt;
    }
    Decoded d;
    const std::uint32_t pixelOffset = U32(file, 10);
    d.infoHeaderSize = U32(file, 14);
    d.width = static_cast<int>(U32(file, 18));
    d.height = static_cast<int>(U32(file, 22));
    d.bitCount = file[28] | file[29] << 8;
    if ((d.bitCount != 4 && d.bitCount != 8) || pixelOffset < 58 || d.width <= 0 || d.height <= 0) {
        return std::nullopt;
    }
    for (std::size_t at = 54; at + 4 <= pixelOffset; at += 4) {
        const int blue = file[at], green = file[at + 1], red = file[at + 2];
        d.palette.push_back(
            static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 3) << 6 | (blue >> 3) << 1));
    }
    const std::size_t stride = (static_cast<std::size_t>(d.width) * d.bitCount + 31) / 32 * 4;
    if (file.size() < pixelOffset + stride * d.height) {
        return std::nullopt;
    }
    for (int row = 0; row < d.height; ++row) {
        const std::uint8_t* line = file.data() + pixelOffset + row * stride;
        for (int x = 0; x < d.width; ++x) {
            d.pixels.push_back(d.bitCount == 8 ? line[x]
                                               : (line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
        }
    }
    return d;
}

// The texture a decoded catalogue bitmap stands for: index stream in stored row order, packed two
// pixels a byte when the palette has fewer than 16 entries.
Bytes IndexStream(const Decoded& d) {
    if (d.palette.size() >= 16) {
        return d.pixels;
    }
    Bytes packed;
    for (std::size_t i = 0; i + 1 < d.pixels.size(); i += 2) {
        packed.push_back(static_cast<std::uint8_t>(d.pixels[i] << 4 | d.pixels[i + 1]));
    }
    return packed;
}

std::vector<std::uint32_t> Words(const Bytes& stream) {
    std::vector<std::uint32_t> words((stream.size() + 3) / 4, 0);
    for (std::size_t i = 0; i < stream.size(); ++i) {
        words[i / 4] |= static_cast<std::uint32_t>(stream[i]) << (24 - 8 * (i % 4));
    }
    return words;
}

std::vector<fs::path> Bitmaps(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".bmp") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The room the editor finds for a texture at `offset`.
std::uint32_t Room(const std::vector<std::uint32_t>& table, std::uint32_t offset) {
    for (std::size_t j = 0; j + 1 < table.size(); ++j) {
        if (table[j] == offset - 1) {
            return table[j + 1] - table[j] - 1;
        }
    }
    return DEFAULT_ROOM;
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// One "fits" or "too large" line of the README:
//   "  fits      NAME.bmp   -> 20 x 20  0121B6  (room 0x002B, record 0x002B)"
struct FitClaim {
    bool fits = false;
    std::string bitmap;
    std::string classLabel;
    std::uint32_t offset = 0;
    std::uint32_t room = 0;
    std::uint32_t record = 0;
};

std::optional<FitClaim> ParseClaim(const std::string& line) {
    FitClaim claim;
    std::string rest;
    if (line.rfind("  fits ", 0) == 0) {
        claim.fits = true;
        rest = line.substr(7);
    } else if (line.rfind("  too large ", 0) == 0) {
        rest = line.substr(12);
    } else {
        return std::nullopt;
    }
    const std::size_t arrow = rest.find(" -> ");
    const std::size_t roomAt = rest.find("(room 0x");
    const std::size_t recordAt = rest.find(", record 0x");
    if (arrow == std::string::npos || roomAt == std::string::npos ||
        recordAt == std::string::npos) {
        return std::nullopt;
    }
    claim.bitmap = rest.substr(rest.find_first_not_of(' '));
    claim.bitmap = claim.bitmap.substr(0, claim.bitmap.find(" -> "));
    claim.bitmap.erase(claim.bitmap.find_last_not_of(' ') + 1);
    const std::string target = rest.substr(arrow + 4, roomAt - arrow - 4);
    const std::size_t gap = target.find("  ");
    if (gap == std::string::npos) {
        return std::nullopt;
    }
    claim.classLabel = target.substr(0, gap);
    claim.offset = ParseHex(target.substr(gap + 2, 6));
    claim.room = ParseHex(rest.substr(roomAt + 6));
    claim.record = ParseHex(rest.substr(recordAt + 9));
    return claim;
}

class DemoKitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = std::make_unique<TempFolder>();
        s_result = MakeDemoKit(s_folder->Path());
        s_rom = ReadAllBytes(s_folder->Path() / DEMO_ROM_NAME);
        const auto table = ReadImageTable(s_folder->Path() / IMAGE_TABLE_FILE);
        s_table = table ? table->values : std::vector<std::uint32_t>{};
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override { ASSERT_TRUE(s_result.ok) << s_result.message; }

    static fs::path Kit() { return s_folder->Path(); }

    static std::unique_ptr<TempFolder> s_folder;
    static DemoKitResult s_result;
    static Bytes s_rom;
    static std::vector<std::uint32_t> s_table;
};

std::unique_ptr<TempFolder> DemoKitTest::s_folder;
DemoKitResult DemoKitTest::s_result;
Bytes DemoKitTest::s_rom;
std::vector<std::uint32_t> DemoKitTest::s_table;

}  // namespace

// --- The ROM image ----------------------------------------------------------------------------

TEST_F(DemoKitTest, RomIsANativeImagePassingLoadRomsChecks) {
    ASSERT_EQ(s_rom.size(), ROM_IMAGE_SIZE);
    EXPECT_EQ(CheckRomFile(s_rom, s_rom.size()), RomVerdict::Native);
    EXPECT_EQ(Text(Bytes(s_rom.begin() + 0x20, s_rom.begin() + 0x34)), "MOONGLASS           ");
    EXPECT_EQ(s_rom[0x3E], 0x45);
    EXPECT_EQ(s_rom[0x3F], 0x00);
    Bytes swapped = s_rom;
    SwapBytePairs(swapped);
    EXPECT_EQ(CheckRomFile(swapped, swapped.size()), RomVerdict::Swapped);
}

// --- Textures: bitmaps, offsets and records ---------------------------------------------------

TEST_F(DemoKitTest, RecordsAtTheOffsetsHoldTheBitmapsPictures) {
    int checked = 0;
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const std::string_view flag = SizeClasses()[sizeClass].formatFlag;
        std::set<bool> depths;  // every game class has bitmaps at both depths
        for (const fs::path& path : Bitmaps(ClassFolderPath(Kit(), sizeClass))) {
            SCOPED_TRACE(path.string());
            const Bytes file = ReadAllBytes(path);
            const auto d = Decode(file);
            ASSERT_TRUE(d);
            const std::uint32_t offset = ParseHex(path.filename().string().substr(0, 6));
            ASSERT_LT(offset + 2 * d->palette.size() + 6, s_rom.size());
            const std::size_t count = d->palette.size();
            const bool fourBit = count < 16;
            depths.insert(fourBit);
            const std::uint8_t code =
                flag == "G" ? (fourBit ? 0x0C : 0x0B) : (fourBit ? 0x0A : 0x09);
            EXPECT_EQ(s_rom[offset], code);
            EXPECT_EQ(s_rom[offset + 1], count - 1);
            EXPECT_EQ(s_rom[offset + 2 + 2 * count], ClassWidth(sizeClass) & 0xFF);
            EXPECT_EQ(s_rom[offset + 3 + 2 * count], ClassHeight(sizeClass) & 0xFF);
            EXPECT_EQ(s_rom[offset + 4 + 2 * count], 0x11);
            EXPECT_EQ(s_rom[offset + 5 + 2 * count], 0x72);

            // The stored stream inflates to the bitmap's pixels.
            const std::uint32_t room = Room(s_table, offset);
            const Bytes stored(s_rom.begin() + offset, s_rom.begin() + offset + room);
            const OpenedRecord opened = OpenRecord(stored);
            ASSERT_TRUE(opened.data);
            EXPECT_EQ(*opened.data, IndexStream(*d));
            EXPECT_EQ(opened.palette, d->palette);

            // Byte for byte the compressor's record, and that record fits its room.
            const Bytes stream = IndexStream(*d);
            const Bytes expected =
                CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, d->width, d->height,
                                Words(stream), d->palette, static_cast<int>(count), flag);
            ASSERT_FALSE(expected.empty());
            ASSERT_LE(expected.size(), room);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stored.begin()));

            // Where rows need no padding, the editor's own import of the bitmap gives the same
            // record, so a texture replaced by a copy of its picture keeps its bytes.
            if (ClassWidth(sizeClass) % 8 == 0) {
                EXPECT_EQ(PrepareUserImage(std::span<const std::uint8_t>(file), flag).record,
                          expected);
            }
            ++checked;
        }
        EXPECT_EQ(depths.size(), 2u) << sizeClass;
    }
    EXPECT_GE(checked, 23 * 3 + 37);
}

// --- The image table --------------------------------------------------------------------------

TEST_F(DemoKitTest, TableBoundsEveryTextureWithoutOverlap) {
    EXPECT_EQ(ReadAllBytes(Kit() / IMAGE_TABLE_FILE).size(), IMAGE_TABLE_LENGTH * 4);
    ASSERT_EQ(s_table.size(), IMAGE_TABLE_LENGTH);
    EXPECT_TRUE(std::is_sorted(s_table.begin(), s_table.end()));
    EXPECT_EQ(std::adjacent_find(s_table.begin(), s_table.end()), s_table.end());
    EXPECT_LT(s_table.back(), ROM_IMAGE_SIZE);

    std::map<std::uint32_t, std::uint32_t> rooms;
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        for (const fs::path& path : Bitmaps(ClassFolderPath(Kit(), sizeClass))) {
            const std::uint32_t offset = ParseHex(path.filename().string().substr(0, 6));
            const auto slot = std::find(s_table.begin(), s_table.end(), offset - 1);
            ASSERT_NE(slot, s_table.end()) << path;
            ASSERT_NE(slot + 1, s_table.end()) << path;
            EXPECT_TRUE(rooms.emplace(offset, Room(s_table, offset)).second) << path;
        }
    }
    for (auto it = rooms.begin(); std::next(it) != rooms.end(); ++it) {
        EXPECT_LT(it->first + it->second, std::next(it)->first) << std::hex << it->first;
    }
    std::set<std::uint32_t> distinct;
    for (const auto& [offset, room] : rooms) {
        distinct.insert(room);
    }
    EXPECT_GT(distinct.size(), rooms.size() / 3);
}

// --- Description files ------------------------------------------------------------------------

TEST_F(DemoKitTest, DescriptionKeysNameBitmapsAndSomeAreLeftOut) {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        SCOPED_TRACE(SizeClasses()[sizeClass].comboLabel);
        std::set<std::uint32_t> offsets;
        for (const fs::path& path : Bitmaps(ClassFolderPath(Kit(), sizeClass))) {
            offsets.insert(ParseHex(path.filename().string().substr(0, 6)));
        }
        const std::string text = Text(ReadAllBytes(DescriptionFilePath(Kit(), sizeClass)));
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n');
        std::set<std::uint32_t> described;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start);
            start = end + 1;
            EXPECT_LE(line.size() + 1, 99u) << line;
            ASSERT_GT(line.size(), 8u) << line;
            EXPECT_EQ(line.find_first_not_of("0123456789ABCDEF"), 6u) << line;
            EXPECT_EQ(line[6], ' ');
            const std::uint32_t key = ParseHex(line.substr(0, 6));
            EXPECT_TRUE(offsets.count(key)) << line;
            EXPECT_TRUE(described.insert(key).second) << line;
        }
        EXPECT_GE(offsets.size() - described.size(), 1u);
        EXPECT_GE(described.size(), 2u);
    }
}

// --- User bitmaps -----------------------------------------------------------------------------

TEST_F(DemoKitTest, UserBitmapsAreAcceptedByLoadRomAndConvert) {
    const std::set<int> widths = {8, 16, 32, 40, 48, 64, 72};
    const auto bitmaps = Bitmaps(ClassFolderPath(Kit(), USER_CLASS));
    ASSERT_GE(bitmaps.size(), 5u);
    std::set<int> bitCounts;
    std::set<std::pair<int, int>> sizes;
    for (const fs::path& path : bitmaps) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadAllBytes(path);
        const auto d = Decode(file);
        ASSERT_TRUE(d);
        EXPECT_TRUE(widths.count(d->width));
        EXPECT_EQ(d->infoHeaderSize, 40u);
        EXPECT_LE(d->width * d->height, 4096);
        bitCounts.insert(d->bitCount);
        sizes.insert({d->width, d->height});
        const UserImage image = PrepareUserImage(std::span<const std::uint8_t>(file), "N");
        EXPECT_EQ(image.result, ConvertResult::Ok);
        EXPECT_EQ(image.entries, static_cast<int>(d->palette.size()));
    }
    EXPECT_EQ(bitCounts, (std::set<int>{4, 8}));
    EXPECT_GE(sizes.size(), 5u);
}

TEST_F(DemoKitTest, ReadmeFitClaimsHoldForTheTableAndThePipeline) {
    const std::string readme = Text(ReadAllBytes(Kit() / DEMO_README_NAME));
    std::map<std::string, std::set<bool>> outcomes;
    std::size_t start = 0;
    while (start < readme.size()) {
        const std::size_t end = readme.find('\n', start);
        const std::string line = readme.substr(start, end - start);
        start = end + 1;
        const auto claim = ParseClaim(line);
        if (!claim) {
            continue;
        }
        SCOPED_TRACE(line);
        const std::uint32_t room = Room(s_table, claim->offset);
        EXPECT_EQ(room, claim->room);
        const UserImage image =
            PrepareUserImage(ClassFolderPath(Kit(), USER_CLASS) / claim->bitmap, "N");
        ASSERT_EQ(image.result, ConvertResult::Ok);
        EXPECT_EQ(image.record.size(), claim->record);
        EXPECT_EQ(image.record.size() <= room, claim->fits);
        // The target is a catalogued texture of the named class.
        int sizeClass = 0;
        while (sizeClass < USER_CLASS && SizeClasses()[sizeClass].comboLabel != claim->classLabel) {
            ++sizeClass;
        }
        ASSERT_LT(sizeClass, USER_CLASS);
        const auto bitmaps = Bitmaps(ClassFolderPath(Kit(), sizeClass));
        EXPECT_TRUE(std::any_of(bitmaps.begin(), bitmaps.end(), [&](const fs::path& p) {
            return ParseHex(p.filename().string().substr(0, 6)) == claim->offset;
        }));
        outcomes[claim->bitmap].insert(claim->fits);
    }
    const auto users = Bitmaps(ClassFolderPath(Kit(), USER_CLASS));
    EXPECT_EQ(outcomes.size(), users.size());
    for (const auto& [name, seen] : outcomes) {
        EXPECT_EQ(seen, (std::set<bool>{false, true})) << name;
    }
}

// --- Determinism and writing ------------------------------------------------------------------

TEST_F(DemoKitTest, SameBytesEveryTimeAndNothingElseWritten) {
    const DemoKitContents first = BuildDemoKit();
    const DemoKitContents second = BuildDemoKit();
    ASSERT_TRUE(first.ok) << first.error;
    ASSERT_EQ(first.files.size(), second.files.size());
    std::set<std::string> expected;
    for (std::size_t i = 0; i < first.files.size(); ++i) {
        EXPECT_EQ(first.files[i].relativePath, second.files[i].relativePath);
        EXPECT_TRUE(first.files[i].bytes == second.files[i].bytes) << first.files[i].relativePath;
        EXPECT_TRUE(ReadAllBytes(Kit() / first.files[i].relativePath) == first.files[i].bytes)
            << first.files[i].relativePath;
        expected.insert(first.files[i].relativePath);
    }
    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(Kit())) {
        if (entry.is_regular_file()) {
            written.insert(entry.path().lexically_relative(Kit()).generic_string());
        }
    }
    EXPECT_EQ(written, expected);
}

TEST(DemoKitWriting, ReplacesKitFilesAndLeavesOthers) {
    TempFolder folder;
    const fs::path ini = folder.WriteText("romimages/08 08/0808.ini", "junk\n");
    const fs::path own = folder.WriteText("romimages/08 08/mine.txt", "keep me");
    const DemoKitResult result = MakeDemoKit(folder.Path());
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_NE(result.message.find(DEMO_ROM_NAME), std::string::npos);
    EXPECT_NE(Text(ReadAllBytes(ini)), "junk\n");
    EXPECT_EQ(Text(ReadAllBytes(own)), "keep me");
}

TEST(DemoKitWriting, FolderThatCannotBeMadeIsReported) {
    TempFolder folder;
    const fs::path blocker = folder.WriteText("file", "a file, not a folder");
    const DemoKitResult result = MakeDemoKit(blocker / "kit");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
}
