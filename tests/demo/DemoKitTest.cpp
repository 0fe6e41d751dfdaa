// The demo kit read the way the editor reads it, with an independent bitmap reader and zlib: the
// ROM header, the records at the offsets the bitmaps' names give, the rooms the image table
// gives, the description keys, and the README's claims about which user bitmaps fit where.

#include "demo/DemoKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/RomCheck.h"
#include "catalogue/SizeClasses.h"
#include "codec/RecordInflater.h"
#include "codec/UserImage.h"
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
        for (const auto& entry : fs::directory_iterator(ClassFolderPath(folder.Path(), sizeClass)))
            if (entry.path().extension() == ".bmp")
                found[ParseHex(entry.path().filename().string().substr(0, 6))] = entry.path();
        return found;
    }
};

const Kit& TheKit() {
    static const Kit kit;
    return kit;
}

}  // namespace

// Every game class has bitmaps at both depths, each a record in a room of its own; lines of the
// description files are "KEY text" with a key naming a bitmap of the class, no key twice, some
// bitmaps left out; the README's fit claims hold.
TEST(DemoKit, RecordsInTheirRoomsDescriptionsAndReadmeClaims) {
    const Kit& kit = TheKit();
    ASSERT_EQ(CheckRomFile(kit.rom, kit.rom.size()), RomVerdict::Native) << kit.result.message;
    std::uint32_t end = 0;  // of the room before
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const std::string_view flag = SizeClasses()[sizeClass].formatFlag;
        const auto bitmaps = kit.Bitmaps(sizeClass);
        std::set<bool> depths;
        for (const auto& [offset, path] : bitmaps) {
            SCOPED_TRACE(path.string());
            const Bytes file = ReadAllBytes(path);
            const auto [palette, stream] = ReadIndexedBitmap(file);
            const int count = static_cast<int>(palette.size());
            depths.insert(count < 16);
            const std::uint32_t room = kit.Room(offset);
            ASSERT_TRUE(room != 0x200 && offset > std::exchange(end, offset + room) &&
                        offset + room < ROM_IMAGE_SIZE);
            const Bytes stored(kit.rom.begin() + offset, kit.rom.begin() + offset + room);
            EXPECT_EQ(stored[0] << 8 | stored[1],
                      ((flag == "G" ? 0x0B : 0x09) + (count < 16)) << 8 | (count - 1));
            EXPECT_EQ(InflateRecord(stored), stream);
            // The editor's own import, where rows need no padding, gives the stored record.
            const Bytes record = PrepareUserImage(file, flag).record;
            EXPECT_TRUE(ClassWidth(sizeClass) % 8 != 0 ||
                        std::ranges::mismatch(record, stored).in1 == record.end());
        }
        EXPECT_EQ(depths.size(), 2u) << sizeClass;
        const Bytes bytes = ReadAllBytes(DescriptionFilePath(kit.folder.Path(), sizeClass));
        std::istringstream text(std::string(bytes.begin(), bytes.end()));
        std::set<std::uint32_t> described;
        for (std::string line; std::getline(text, line);) {
            EXPECT_TRUE(std::regex_match(line, std::regex("[0-9A-F]{6} .{2,91}")) &&
                        bitmaps.count(ParseHex(line)) && described.insert(ParseHex(line)).second)
                << line;
        }
        EXPECT_TRUE(bytes.back() == '\n' && described.size() >= 2 &&
                    described.size() < bitmaps.size())
            << sizeClass;
    }
    // "  fits      NAME.bmp   -> 20 x 20  0121B6  (room 0x002B, record 0x002B)": the room is the
    // table's, the record the pipeline's, the target a catalogued texture of the named class;
    // each bitmap fits somewhere and is too large somewhere else.
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
        const std::uint32_t offset = ParseHex(m[4].str()), room = kit.Room(offset);
        const auto target =
            std::ranges::find(SizeClasses(), m[3].str(), &SizeClassInfo::comboLabel);
        EXPECT_TRUE(room == ParseHex(m[5].str()) && image.record.size() == ParseHex(m[6].str()) &&
                    (image.record.size() <= room) == (m[1] == "fits") &&
                    kit.Bitmaps(static_cast<int>(target - SizeClasses().begin())).count(offset))
            << line;
        outcomes[m[2]].insert(m[1] == "fits");
    }
    EXPECT_EQ(outcomes.size(), static_cast<std::size_t>(BuildDemoKit().userBitmapCount));
    for (const auto& [name, seen] : outcomes)
        EXPECT_EQ(seen.size(), 2u) << name;
}

// The same bytes every time (those of a second build), written whole; a file of another name in
// a class folder is left alone, its own files are rewritten, and a folder that cannot be made is
// reported.
TEST(DemoKit, SameBytesEveryTimeAndNothingElseTouched) {
    const DemoKitContents contents = BuildDemoKit();
    std::size_t written = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TheKit().folder.Path()))
        written += entry.is_regular_file();
    EXPECT_EQ(written, contents.files.size());
    for (const KitFile& file : contents.files)
        EXPECT_EQ(ReadAllBytes(TheKit().folder / file.relativePath), file.bytes)
            << file.relativePath;
    TempFolder folder;
    const fs::path ini = folder.WriteText("romimages/08 08/0808.ini", "junk\n");
    const fs::path own = folder.WriteText("romimages/08 08/mine.txt", "keep");
    ASSERT_TRUE(MakeDemoKit(folder.Path()).ok);
    EXPECT_EQ(ReadAllBytes(ini), ReadAllBytes(DescriptionFilePath(TheKit().folder.Path(), 0)));
    EXPECT_EQ(ReadAllBytes(own), (Bytes{'k', 'e', 'e', 'p'}));
    const DemoKitResult blocked = MakeDemoKit(folder.WriteText("file", "not a folder") / "kit");
    EXPECT_FALSE(blocked.ok || blocked.message.empty());
}
