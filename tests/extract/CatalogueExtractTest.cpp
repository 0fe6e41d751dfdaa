// The catalogue built from the demo kit's ROM alone against the kit's own catalogue; refusal,
// cancelling and failures that leave the folder as it was; export, verify and the tool's
// commands.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "cli/ExtractCommands.h"
#include "codec/UserImage.h"
#include "demo/DemoKit.h"
#include "extract/CatalogueBuild.h"
#include "extract/CatalogueVerify.h"
#include "extract/TextureBitmap.h"
#include "io/ByteOrder.h"
#include "replace/TextureRoom.h"

namespace {

namespace fs = std::filesystem;

Bytes Swapped(Bytes image) {
    SwapBytePairs(image);
    return image;
}

struct Kit {
    TempFolder folder;
    bool made = MakeDemoKit(folder.Path()).ok;
    Bytes rom = ReadAllBytes(folder / DEMO_ROM_NAME);
    std::optional<ImageTable> table = ReadImageTable(folder / IMAGE_TABLE_FILE);
};

const Kit& TheKit() {
    static const Kit kit;
    return kit;
}

// Every file below `folder` with its bytes.
std::map<std::string, Bytes> Tree(const fs::path& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[fs::relative(entry.path(), folder).string() + (entry.is_directory() ? "/" : "")] =
            entry.is_directory() ? Bytes{} : ReadAllBytes(entry.path());
    }
    return files;
}

// The bitmaps of a class folder by the offset their names start with.
std::map<std::uint32_t, fs::path> Bitmaps(const fs::path& folder, int sizeClass) {
    std::map<std::uint32_t, fs::path> found;
    for (const auto& entry : fs::directory_iterator(ClassFolderPath(folder, sizeClass))) {
        if (entry.path().extension() == ".bmp") {
            found[ParseHex(entry.path().filename().string().substr(0, 6))] = entry.path();
        }
    }
    return found;
}

}  // namespace

// Extracting the kit's ROM into an empty folder finds its 136 textures in their classes, each
// the same picture (palette in the game's colours, indices) as the kit's bitmap, with the rooms
// of the kit's table, so the README's pairs fit or are refused as it says; the User folder and
// empty description files are there; the catalogue verifies.
TEST(ExtractDemoKit, ReproducesTheKitsCatalogue) {
    const Kit& kit = TheKit();
    ASSERT_TRUE(kit.made && kit.table);
    TempFolder out;
    const CatalogueBuildResult built = BuildCatalogue(Swapped(kit.rom), out.Path(), false);
    ASSERT_EQ(built.error, CatalogueBuildError::None) << built.detail;
    EXPECT_EQ(built.plan.textures.size(), 136u);
    EXPECT_TRUE(built.plan.leftOut.empty());
    const std::optional<ImageTable> table = ReadImageTable(out / IMAGE_TABLE_FILE);
    ASSERT_TRUE(table && table->values.size() == IMAGE_TABLE_LENGTH);
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const auto ours = Bitmaps(out.Path(), sizeClass);
        const auto theirs = Bitmaps(kit.folder.Path(), sizeClass);
        ASSERT_EQ(ours.size(), theirs.size()) << sizeClass;
        for (auto o = ours.begin(), t = theirs.begin(); o != ours.end(); ++o, ++t) {
            ASSERT_EQ(o->first, t->first);
            EXPECT_EQ(o->second.filename(), TextureBitmapName(o->first));
            EXPECT_EQ(ReadIndexedBitmap(ReadAllBytes(o->second)),
                      ReadIndexedBitmap(ReadAllBytes(t->second)))
                << o->second;
            EXPECT_EQ(AvailableRoom(table, o->first), AvailableRoom(kit.table, o->first));
        }
        EXPECT_TRUE(ReadAllBytes(DescriptionFilePath(out.Path(), sizeClass)).empty());
    }
    EXPECT_TRUE(fs::is_directory(ClassFolderPath(out.Path(), USER_CLASS)));
    // "  fits      NAME.bmp  -> 20 x 20  0121B6  (room 0x002B, record 0x002B)"
    const Bytes readme = ReadAllBytes(kit.folder / DEMO_README_NAME);
    std::istringstream text(std::string(readme.begin(), readme.end()));
    const std::regex claim(R"(  (fits|too large) +(.+?) +-> .+  ([0-9A-F]{6})  \(.*)");
    int claims = 0;
    for (std::string line; std::getline(text, line);) {
        std::smatch m;
        if (std::regex_match(line, m, claim)) {
            ++claims;
            const UserImage user =
                PrepareUserImage(ClassFolderPath(kit.folder.Path(), USER_CLASS) / m[2].str(), "N");
            EXPECT_EQ(user.record.size() <= AvailableRoom(table, ParseHex(m[3].str())),
                      m[1] == "fits")
                << line;
        }
    }
    EXPECT_EQ(claims, 2 * BuildDemoKit().userBitmapCount);
    EXPECT_TRUE(VerifyCatalogue(kit.rom, out.Path()).findings.empty());
}

// Without force an existing table or bitmap of a texture (under any name starting with its
// offset) refuses the run before anything is written; with force the bitmap is written under
// its own name and description files are kept. A cancel at any step and a failed write leave
// the folder exactly as it was, old bytes included.
TEST(ExtractDemoKit, RefusesCancelsAndFailsWithoutChangingTheFolder) {
    const Kit& kit = TheKit();
    TempFolder out;
    const fs::path mine = out.WriteText("romimages/20 20/0121b6 mine.bmp", "old");
    const fs::path ini = out.WriteText("romimages/20 20/2020.INI", "0121B6 mine\n");
    const fs::path stray = out.WriteText("romimages/20 20/0121B8.bmp", "another ROM's");
    const auto before = Tree(out.Path());
    const CatalogueBuildResult refused = BuildCatalogue(kit.rom, out.Path(), false);
    EXPECT_EQ(refused.error, CatalogueBuildError::Exists);
    EXPECT_EQ(refused.conflict, mine);
    EXPECT_EQ(Tree(out.Path()), before);
    const Bytes bare(0x4000, 0xFF);  // not one record: an empty catalogue is not written
    EXPECT_EQ(BuildCatalogue(bare, out.Path(), true).error, CatalogueBuildError::NoTextures);
    EXPECT_EQ(Tree(out.Path()), before);
    // Steps: the search, 136 bitmaps made, 136 written, 23 description files, the table.
    for (std::size_t cancelAt : {1, 2, 137, 138, 200, 274, 296}) {
        const CatalogueBuildResult cancelled =
            BuildCatalogue(kit.rom, out.Path(), true,
                           [&](std::size_t done, std::size_t) { return done < cancelAt; });
        EXPECT_EQ(cancelled.error, CatalogueBuildError::Cancelled) << cancelAt;
        EXPECT_EQ(Tree(out.Path()), before) << cancelAt;
    }
    fs::create_directories(out / IMAGE_TABLE_FILE);  // a folder where the table must go
    const auto blocked = Tree(out.Path());
    EXPECT_EQ(BuildCatalogue(kit.rom, out.Path(), true).error, CatalogueBuildError::CannotWrite);
    EXPECT_EQ(Tree(out.Path()), blocked);
    fs::remove(out / IMAGE_TABLE_FILE);
    const CatalogueBuildResult forced = BuildCatalogue(kit.rom, out.Path(), true);
    ASSERT_EQ(forced.error, CatalogueBuildError::None);
    EXPECT_EQ(forced.strayBitmaps, std::vector<fs::path>{stray});
    EXPECT_EQ(Bitmaps(out.Path(), 7).at(0x121B6), mine);
    EXPECT_NE(ReadAllBytes(mine).size(), 3u);
    EXPECT_EQ(ReadAllBytes(ini),
              (Bytes{'0', '1', '2', '1', 'B', '6', ' ', 'm', 'i', 'n', 'e', '\n'}));
    EXPECT_EQ(BuildCatalogue(kit.rom, out.Path(), false).conflict, out / IMAGE_TABLE_FILE);
}

// Export, from either byte order, converts back to the record's palette and indices wherever
// the conversion reads rows unpadded; verify names a damaged record and a changed bitmap, and
// the tool's commands give their statuses.
TEST(ExtractDemoKit, ExportRoundTripVerifyAndTheToolsCommands) {
    const Kit& kit = TheKit();
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        for (const auto& [offset, path] : Bitmaps(kit.folder.Path(), sizeClass)) {
            const TextureExport exported = ExportTexture(kit.rom, offset);
            ASSERT_FALSE(exported.bitmap.empty()) << path;
            EXPECT_EQ(ExportTexture(Swapped(kit.rom), offset).bitmap, exported.bitmap);
            const DecodedTexture& texture = exported.decoded.texture;
            TextureData back;
            const int depth = texture.depth == 4 ? DEPTH_MODE_4BIT : DEPTH_MODE_8BIT;
            if (texture.width % 8 == 0) {
                ASSERT_EQ(ConvertBitmapToTexture(exported.bitmap, depth, back), ConvertResult::Ok);
                EXPECT_TRUE(std::equal(texture.palette.begin(), texture.palette.end(),
                                       back.palette.begin()) &&
                            back.count == static_cast<int>(texture.palette.size()));
                EXPECT_EQ(StreamBytes(back, texture.data.size()), texture.data);
            }
        }
    }
    EXPECT_EQ(ExportTexture(kit.rom, 0x10001).decoded.result, RecordDecodeResult::BadFormatCode);

    TempFolder folder;
    ASSERT_TRUE(MakeDemoKit(folder.Path()).ok);
    Bytes damaged = kit.rom;
    damaged[0x10000 + 11] ^= 0x40;  // in the first texture's stream
    const fs::path bitmap = Bitmaps(folder.Path(), 7).begin()->second;
    Bytes changed = ReadAllBytes(bitmap);
    changed.back() ^= 0x01;  // the top row's last byte
    folder.Write(fs::relative(bitmap, folder.Path()).string(), changed);
    const VerifyReport report = VerifyCatalogue(damaged, folder.Path());
    ASSERT_EQ(report.findings.size(), 2u);
    EXPECT_EQ(report.findings[0].offset, 0x10000u);
    EXPECT_NE(report.findings[0].check.verdict, TextureVerdict::Sound);
    EXPECT_EQ(report.findings[1].bitmap, bitmap);
    EXPECT_EQ(report.findings[1].check.verdict, TextureVerdict::PixelsDiffer);
    EXPECT_EQ(report.findings[1].check.y, 0);

    const std::string rom = (kit.folder / DEMO_ROM_NAME).string();
    const std::string out = (folder / "x").string();
    const fs::path damagedRom = folder.Write("damaged.rom", damaged);
    EXPECT_EQ(RunVerify({rom, "--catalogue", kit.folder.Path().string()}, "/"), 0);
    EXPECT_EQ(RunVerify({damagedRom.string(), "--catalogue", kit.folder.Path().string()}, "/"), 1);
    EXPECT_EQ(RunVerify({rom, "--catalogue", out}, "/"), 1);  // nothing to verify
    EXPECT_EQ(RunExtract({rom, out}), 0);
    EXPECT_EQ(RunExtract({rom, out}), 1);
    EXPECT_EQ(RunExtract({rom, out, "--force"}), 0);
    EXPECT_EQ(RunExtract({rom}), 2);
    EXPECT_EQ(RunExport({rom, "121B6", out + "/t.bmp"}), 0);
    EXPECT_EQ(ReadAllBytes(out + "/t.bmp"), ExportTexture(kit.rom, 0x121B6).bitmap);
    EXPECT_EQ(RunExport({rom, "121B7", out + "/u.bmp"}), 1);
    EXPECT_FALSE(fs::exists(out + "/u.bmp"));
    EXPECT_EQ(RunExport({rom, "12G", out + "/u.bmp"}), 2);
}
