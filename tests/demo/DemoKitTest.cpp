// The demo kit read the way the editor reads it, with an independent bitmap reader and zlib: the
// ROM header, the records at the offsets the bitmaps' names give, the rooms the image table
// gives, the description keys, and the README's claims about which user bitmaps fit where.

#include "demo/DemoKit.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "TempFolder.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/RomCheck.h"
#include "catalogue/SizeClasses.h"
#include "codec/RecordInflater.h"
#include "codec/TextureCompressor.h"
#include "codec/UserImage.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct Kit {
    TempFolder folder;
    DemoKitResult result = MakeDemoKit(folder.Path());
    Bytes rom = ReadAllBytes(folder / DEMO_ROM_NAME);
    std::vector<std::uint32_t> table =
        ReadImageTable(folder / IMAGE_TABLE_FILE).value_or(ImageTable{}).values;

    // The room the editor finds for a texture at `offset`.
    std::uint32_t Room(std::uint32_t offset) const {
        const auto at = std::find(table.begin(), table.end(), offset - 1);
        return at == table.end() || at + 1 == table.end() ? 0x200 : at[1] - at[0] - 1;
    }
    // The bitmaps of a class folder by offset.
    std::map<std::uint32_t, fs::path> Bitmaps(int sizeClass) const {
        std::map<std::uint32_t, fs::path> found;
        for (const auto& entry :
             fs::directory_iterator(ClassFolderPath(folder.Path(), sizeClass))) {
            if (entry.path().extension() == ".bmp")
                found[ParseHex(entry.path().filename().string().substr(0, 6))] = entry.path();
        }
        return found;
    }
};

const Kit& TheKit() {
    static const Kit kit;
    return kit;
}

// A 4 or 8-bit bitmap read without the project's code: the palette in RGBA5551 and the index
// stream in stored row order, two pixels a byte below 16 colours.
struct Decoded {
    int width = 0, height = 0, bitCount = 0;
    std::vector<std::uint16_t> palette;
    Bytes stream;
};

Decoded Decode(const Bytes& file) {
    auto u32 = [&](std::size_t at) {
        return file.at(at) | file.at(at + 1) << 8 | file.at(at + 2) << 16 | file.at(at + 3) << 24;
    };
    Decoded d{u32(18), u32(22), file.at(28), {}, {}};
    EXPECT_EQ(u32(14), 40);
    for (int at = 54; at < u32(10); at += 4) {
        d.palette.push_back(static_cast<std::uint16_t>(
            (file[at + 2] >> 3) << 11 | (file[at + 1] >> 3) << 6 | (file[at] >> 3) << 1));
    }
    const int stride = (d.width * d.bitCount + 31) / 32 * 4;
    for (int i = 0; i < d.width * d.height; ++i) {
        const int x = i % d.width;
        const std::uint8_t byte = file.at(u32(10) + i / d.width * stride + x * d.bitCount / 8);
        const int index = d.bitCount == 8 ? byte : x % 2 ? byte & 0x0F : byte >> 4;
        if (d.palette.size() >= 16) {
            d.stream.push_back(static_cast<std::uint8_t>(index));
        } else if (i % 2) {
            d.stream.back() |= static_cast<std::uint8_t>(index);
        } else if (i + 1 < d.width * d.height) {  // an odd last pixel is dropped
            d.stream.push_back(static_cast<std::uint8_t>(index << 4));
        }
    }
    return d;
}

}  // namespace

TEST(DemoKit, RomIsANativeImageWithTheBitmapsRecordsInTheirRooms) {
    const Kit& kit = TheKit();
    ASSERT_TRUE(kit.result.ok) << kit.result.message;
    ASSERT_EQ(kit.rom.size(), ROM_IMAGE_SIZE);
    EXPECT_EQ(CheckRomFile(kit.rom, ROM_IMAGE_SIZE), RomVerdict::Native);
    EXPECT_EQ(std::string(kit.rom.begin() + 0x20, kit.rom.begin() + 0x34), "MOONGLASS           ");
    Bytes swapped = kit.rom;
    SwapBytePairs(swapped);
    EXPECT_EQ(CheckRomFile(swapped, ROM_IMAGE_SIZE), RomVerdict::Swapped);
    ASSERT_EQ(kit.table.size(), IMAGE_TABLE_LENGTH);
    EXPECT_TRUE(std::adjacent_find(kit.table.begin(), kit.table.end(), std::greater_equal<>()) ==
                kit.table.end());

    std::uint32_t end = 0;  // of the room before
    std::size_t checked = 0;
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const std::string_view flag = SizeClasses()[sizeClass].formatFlag;
        std::set<bool> depths;  // every game class has bitmaps at both depths
        for (const auto& [offset, path] : kit.Bitmaps(sizeClass)) {
            SCOPED_TRACE(path.string());
            const Bytes file = ReadAllBytes(path);
            const Decoded d = Decode(file);
            const int count = static_cast<int>(d.palette.size());
            depths.insert(count < 16);
            ASSERT_TRUE(d.width == static_cast<int>(ClassWidth(sizeClass)) &&
                        d.height == static_cast<int>(ClassHeight(sizeClass)));
            const std::uint32_t room = kit.Room(offset);
            ASSERT_TRUE(room != 0x200 && offset > end && offset + room < ROM_IMAGE_SIZE);
            end = offset + room;
            const Bytes stored(kit.rom.begin() + offset, kit.rom.begin() + offset + room);
            EXPECT_EQ(stored[0], (flag == "G" ? 0x0B : 0x09) + (count < 16));
            EXPECT_EQ(stored[1] + 1, count);
            EXPECT_EQ(stored[2 + 2 * count] << 8 | stored[3 + 2 * count],
                      d.width % 256 << 8 | d.height);
            EXPECT_EQ(InflateRecord(stored), d.stream);
            // Byte for byte the compressor's record, the same as the editor's own import of the
            // bitmap where rows need no padding.
            std::vector<std::uint32_t> words((d.stream.size() + 3) / 4);
            for (std::size_t i = 0; i < d.stream.size(); ++i)
                words[i / 4] |= d.stream[i] << (24 - 8 * (i % 4));
            const Bytes record = CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, d.width,
                                                 d.height, words, d.palette, count, flag);
            EXPECT_TRUE(record.size() <= room &&
                        std::equal(record.begin(), record.end(), stored.begin()));
            EXPECT_TRUE(d.width % 8 != 0 || PrepareUserImage(file, flag).record == record);
            ++checked;
        }
        EXPECT_EQ(depths.size(), 2u) << sizeClass;
    }
    EXPECT_GE(checked, 23u * 3 + 37);
}

// Each line is "KEY text" with a key naming a bitmap of the class, no key twice, some left out.
TEST(DemoKit, DescriptionKeysNameBitmapsAndSomeAreLeftOut) {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const auto bitmaps = TheKit().Bitmaps(sizeClass);
        const Bytes bytes = ReadAllBytes(DescriptionFilePath(TheKit().folder.Path(), sizeClass));
        std::istringstream text(std::string(bytes.begin(), bytes.end()));
        std::set<std::uint32_t> described;
        for (std::string line; std::getline(text, line);) {
            EXPECT_TRUE(std::regex_match(line, std::regex("[0-9A-F]{6} .{2,91}"))) << line;
            EXPECT_TRUE(bitmaps.count(ParseHex(line)) && described.insert(ParseHex(line)).second)
                << line;
        }
        EXPECT_TRUE(bytes.back() == '\n' && described.size() >= 2 &&
                    described.size() < bitmaps.size())
            << sizeClass;
    }
}

// "  fits      NAME.bmp   -> 20 x 20  0121B6  (room 0x002B, record 0x002B)": the room is the
// table's, the record the pipeline's, the target a catalogued texture; each bitmap fits somewhere
// and is too large somewhere else.
TEST(DemoKit, ReadmeFitClaimsHoldForTheTableAndThePipeline) {
    const Kit& kit = TheKit();
    const Bytes readme = ReadAllBytes(kit.folder / DEMO_README_NAME);
    std::istringstream text(std::string(readme.begin(), readme.end()));
    const std::regex claim(
        R"(  (fits|too large) +(.+?) +-> (.+)  ([0-9A-F]{6})  \(room 0x([0-9A-F]+), record 0x([0-9A-F]+)\)\r?)");
    std::map<std::string, std::set<bool>> outcomes;
    for (std::string line; std::getline(text, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, claim))
            continue;
        const UserImage image =
            PrepareUserImage(ClassFolderPath(kit.folder.Path(), USER_CLASS) / m[2].str(), "N");
        const std::uint32_t room = kit.Room(ParseHex(m[4].str()));
        EXPECT_EQ(room, ParseHex(m[5].str())) << line;
        EXPECT_EQ(image.record.size(), ParseHex(m[6].str())) << line;
        EXPECT_EQ(image.record.size() <= room, m[1] == "fits") << line;
        bool catalogued = false;  // as a texture of the named class
        for (int c = 0; c < USER_CLASS; ++c)
            catalogued |= SizeClasses()[c].comboLabel == m[3].str() &&
                          kit.Bitmaps(c).count(ParseHex(m[4].str()));
        EXPECT_TRUE(catalogued) << line;
        outcomes[m[2]].insert(m[1] == "fits");
    }
    EXPECT_EQ(outcomes.size(), static_cast<std::size_t>(BuildDemoKit().userBitmapCount));
    for (const auto& [name, seen] : outcomes)
        EXPECT_EQ(seen.size(), 2u) << name;
}

// The same bytes every time, written whole; other files are left alone, and a folder that
// cannot be made is reported.
TEST(DemoKit, SameBytesEveryTimeAndNothingElseTouched) {
    const DemoKitContents first = BuildDemoKit(), second = BuildDemoKit();
    ASSERT_TRUE(first.ok) << first.error;
    ASSERT_EQ(first.files.size(), second.files.size());
    std::size_t written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TheKit().folder.Path()))
        written += entry.is_regular_file();
    EXPECT_EQ(written, first.files.size());
    for (std::size_t i = 0; i < first.files.size(); ++i) {
        EXPECT_EQ(first.files[i].relativePath, second.files[i].relativePath);
        EXPECT_TRUE(first.files[i].bytes == second.files[i].bytes &&
                    ReadAllBytes(TheKit().folder / first.files[i].relativePath) ==
                        first.files[i].bytes)
            << first.files[i].relativePath;
    }
    TempFolder folder;
    const fs::path ini = folder.WriteText("romimages/08 08/0808.ini", "junk\n");
    const fs::path own = folder.WriteText("romimages/08 08/mine.txt", "keep me");
    ASSERT_TRUE(MakeDemoKit(folder.Path()).ok);
    EXPECT_NE(ReadAllBytes(ini), Bytes({'j', 'u', 'n', 'k', '\n'}));
    EXPECT_EQ(ReadAllBytes(own), Bytes({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    const DemoKitResult blocked = MakeDemoKit(folder.WriteText("file", "not a folder") / "kit");
    EXPECT_FALSE(blocked.ok || blocked.message.empty());
}
