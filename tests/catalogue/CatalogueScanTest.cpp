#include "catalogue/CatalogueScan.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/FolderListing.h"
#include "catalogue/ImageTable.h"
#include "catalogue/SizeClasses.h"

using namespace std::string_literals;

namespace {

// Writes a class folder's file `name`, the bitmap headers of the given size.
void Add(const TempFolder& folder, int sizeClass, const std::string& name, std::int32_t width = 8,
         std::int32_t height = 8, std::uint16_t bitCount = 8) {
    folder.Write((ClassFolderPath(folder.Path(), sizeClass) / name).string(),
                 TestBitmap{.width = width, .height = height, .bitCount = bitCount}.Build());
}

// The start of a PNG file: signature and IHDR, as far as the scan reads.
void AddPng(const TempFolder& folder, const std::string& name, std::uint8_t side,
            std::uint8_t depth, std::uint8_t colourType) {
    folder.Write("romimages/User/" + name,
                 {0x89, 'P', 'N', 'G', 13,   10, 26, 10, 0,    0,     0,          13, 'I', 'H', 'D',
                  'R',  0,   0,   0,   side, 0,  0,  0,  side, depth, colourType, 0,  0,   0});
}

}  // namespace

TEST(UserBitmapRules, PaddedGameSizesBadSizesAndBitCounts) {
    using enum UserBitmapReason;
    const std::tuple<int, int, int, UserBitmapReason> cases[] = {
        {0x26, 0x26, 8, Pad28x26},       {0x26, 0x20, 8, BadSize},  {0x41, 0x11, 4, Pad48x11},
        {0x41, 0x10, 4, BadSize},        {0x21, 0x21, 8, Pad28x21}, {0x21, 0x20, 8, BadSize},
        {32, 32, 16, NotFourOrEightBit}, {33, 32, 8, BadSize},      {64, 999, 8, Accepted}};
    for (const auto& [width, height, bits, reason] : cases)
        EXPECT_EQ(UserBitmapRefusal(width, height, bits), reason) << width << "x" << height;
    for (std::uint16_t width : {8, 16, 32, 40, 48, 64, 72})
        EXPECT_EQ(UserBitmapRefusal(width, 5, 4), Accepted) << width;
}

// Name order ignoring case; only the first entry with a key takes its line; a class takes at most
// its capacity; empty or missing game folders are reported, an existing one gets an empty
// description file; user bitmaps are judged by their headers and numbered from 0.
TEST(CatalogueScan, ClassesTakeOffsetsSizesDescriptionsAndUserBitmaps) {
    TempFolder folder;
    Add(folder, 7, "01A2B0 wall.bmp", 32, 32);
    Add(folder, 7, "00ff00.BMP");
    Add(folder, 7, "01A2B0 copy.bmp");  // the same offset as the wall
    Add(folder, 7, "notes.txt");
    folder.WriteText("romimages/20 20/2020.ini", "01A2B0 Brick wall\r\n000123 nobody\n");
    for (int i = 0; i < 1030; ++i)
        Add(folder, 0, std::to_string(100000 + i) + ".bmp");
    std::filesystem::create_directories(ClassFolderPath(folder.Path(), 1));
    Add(folder, USER_CLASS, "b face.bmp", 72, 5, 4);
    Add(folder, USER_CLASS, "c deep.bmp", 32, 32, 16);
    folder.Write("romimages/User/d tiny.bmp", {'B', 'M'});  // cut short: width reads 0
    Add(folder, USER_CLASS, "e logo.bmp.bak", 16, 16);
    AddPng(folder, "f pal.png", 16, 2, 3);    // indexed: converts as a 4-bit bitmap
    AddPng(folder, "g photo.PNG", 16, 8, 2);  // RGB
    AddPng(folder, "h odd.png", 30, 8, 3);
    SizeClassTable table;
    const ScanReport report = ScanCatalogue(folder.Path(), table);

    const SizeClassRecord& record = table[7];
    ASSERT_EQ(record.entryCount, 3u);
    EXPECT_EQ(record.romOffset[0] * 1000 + record.width[2], 0xFF00u * 1000 + 32);
    EXPECT_EQ(record.description[0] + "|" + record.description[1] + "|" + record.description[2],
              NO_DESCRIPTION + "|01A2B0 Brick wall\n|"s + NO_DESCRIPTION);
    EXPECT_EQ(table[0].entryCount * 10000000 + table[0].romOffset[1023],
              1024u * 10000000 + 0x101023);
    ASSERT_EQ(report.overflows.size(), 1u);
    EXPECT_EQ(report.overflows[0].sizeClass * 1000 + report.overflows[0].leftOut, 6u);
    EXPECT_EQ(report.classesWithoutBitmaps.size(), 21u);
    EXPECT_EQ(std::filesystem::file_size(DescriptionFilePath(folder.Path(), 1)), 0u);
    std::vector<std::pair<std::string, UserBitmapReason>> refusals;
    for (const UserBitmapRefusalEntry& refusal : report.userRefusals)
        refusals.emplace_back(refusal.fileName, refusal.reason);
    EXPECT_EQ(refusals, (decltype(refusals){{"c deep.bmp", UserBitmapReason::NotFourOrEightBit},
                                            {"d tiny.bmp", UserBitmapReason::BadSize},
                                            {"g photo.PNG", UserBitmapReason::NotFourOrEightBit},
                                            {"h odd.png", UserBitmapReason::BadSize}}));
    const SizeClassRecord& user = table[USER_CLASS];
    ASSERT_EQ(user.entryCount, 3u);
    EXPECT_EQ(user.description[0] + "|" + user.description[1] + "|" + user.description[2],
              "b face|e logo.bmp|f pal");
    EXPECT_EQ(user.romOffset[1] * 1000 + user.width[0] * 10 + user.height[0], 1000u + 725);
}

// Catalogues unpacked elsewhere may spell folders and files in any case; the exact spelling
// wins, and missing parts stay as written so that they can be created there.
TEST(FolderListing, PathsResolvedIgnoringCase) {
    TempFolder base;
    std::filesystem::create_directories(base / "ROMIMAGES/USER");
    std::filesystem::create_directories(base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\User\\"), base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\USER\\x.bmp"),
              base / "ROMIMAGES/USER/x.bmp");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\RomImages\\80 10G\\8010G.ini"),
              base / "ROMIMAGES/80 10G/8010G.ini");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), ""), base.Path());
}

// Regular files only, matched ignoring case and sorted so (names equal but for case in a fixed
// order), with their titles; a folder that cannot be listed says so.
TEST(FolderListing, MatchingFilesSortedWithTitles) {
    TempFolder folder;
    for (const char* name : {"B.bmp", "c.bmp.bak", "a.bmp", "A.BMP", "x.bmx.bmp", "a.bmx", "abmp"})
        folder.WriteText(name, "x");
    std::filesystem::create_directory(folder / "d.bmp");
    std::string listed;
    for (const auto& match : ListMatching(folder.Path(), "*.bmp*").matches)
        listed +=
            (match.fullPath == folder / match.name ? match.name : "?") + "=" + match.title + "|";
    EXPECT_EQ(listed, "A.BMP=A|a.bmp=a|B.bmp=B|c.bmp.bak=c.bmp|x.bmx.bmp=x.bmx|");
    for (const auto& path : {folder / "missing", folder / "a.bmp"}) {
        const FolderListing refused = ListMatching(path, "*");
        EXPECT_FALSE(refused.readable || !refused.matches.empty()) << path;
    }
}

// "10 x 10G" lives in folder "10 10G" with file "1010G.ini", reads the G format, and is 16 x 16.
TEST(ClassSizes, TableOfTheTwentyFourClasses) {
    const char* labels[SIZE_CLASS_COUNT] = {
        "08 x 08",  "08 x 80", "10 x 10", "10 x 10G", "10 x 20", "10 x 20G", "10 x 40",  "20 x 20",
        "20 x 20G", "21 x 21", "26 x 26", "20 x 30",  "20 x 40", "20 x 40G", "30 x 20",  "40 x 10",
        "40 x 11",  "40 x 20", "80 x 08", "80 x 09",  "80 x 0B", "80 x 0C",  "80 x 10G", "User"};
    for (int i = 0; i < SIZE_CLASS_COUNT; ++i) {
        const SizeClassInfo& info = SizeClasses()[i];
        const std::string label = labels[i];
        const std::string name = i == USER_CLASS ? label : label.substr(0, 2) + label.substr(4);
        const std::string file = i == USER_CLASS ? name : name.substr(0, 2) + name.substr(3);
        const auto size = [&](int at) {
            return i == USER_CLASS ? 0 : std::stoul(label.substr(at, 2), nullptr, 16);
        };
        EXPECT_TRUE(info.comboLabel == label && info.folder == "\\romimages\\" + name + "\\" &&
                    info.descriptionFile == file + ".ini" &&
                    info.formatFlag == (name.back() == 'G' ? "G" : "N") &&
                    ClassWidth(i) == size(0) && ClassHeight(i) == size(5))
            << label;
    }
}

// Saving scans every slot of every class, so a reset must clear the replacements of all of them
// (also beyond the entry count) while keeping paths, offsets and sizes; a class fills again from 0.
TEST(SizeClassTable, ResetClearsEveryReplacementAndKeepsEntries) {
    SizeClassTable table;
    ASSERT_TRUE(table.AppendEntry(5, "p", 0x10007, 16, 32));
    table[5].replacementSize[0] = 0x180;
    table[22].replacementIndex[1023] = 5;
    table.ResetForLoad();
    for (int c = 0; c < SIZE_CLASS_COUNT; ++c) {
        EXPECT_EQ(table[c].entryCount, 0u);
        for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k)
            ASSERT_TRUE(table[c].replacementIndex[k] == NO_REPLACEMENT &&
                        table[c].replacementSize[k] == 0)
                << c << '/' << k;
    }
    const SizeClassRecord& record = table[5];
    EXPECT_EQ(record.imagePath[0] + " " + std::to_string(record.romOffset[0]) + " " +
                  std::to_string(record.width[0] * 100 + record.height[0]),
              "p 65543 1632");
    ASSERT_TRUE(table.AppendEntry(5, "again", 0x20000, 16, 32));
    EXPECT_EQ(record.imagePath[0] + " " + std::to_string(record.entryCount), "again 1");
}

// Complete little-endian values only, at most IMAGE_TABLE_LENGTH of them; value i of a table of
// `size` bytes is (i + 1) * 0x9E3779B1, so order and alignment faults show. A missing file, or
// one that opens but cannot be read, is no table rather than an empty one.
TEST(ImageTable, CompleteValuesUpToTheTableLengthFromBytesAndFiles) {
    TempFolder folder;
    const std::size_t cases[][2] = {{3, 0}, {7, 1}, {4001, 1000}, {10795, 2698}, {20000, 2699}};
    for (const auto& [size, count] : cases) {
        std::vector<std::uint8_t> bytes(size);
        std::vector<std::uint32_t> values(count);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>((i / 4 + 1) * 0x9E3779B1u >> (8 * (i % 4)));
        for (std::size_t i = 0; i < count; ++i)
            values[i] = static_cast<std::uint32_t>(i + 1) * 0x9E3779B1u;
        EXPECT_EQ(ReadImageTable(folder.Write("t.bin", bytes))->values, values) << size;
    }
    EXPECT_EQ(ReadImageTable(folder / "missing.bin"), std::nullopt);
    EXPECT_EQ(ReadImageTable(folder.Path()), std::nullopt);
}
