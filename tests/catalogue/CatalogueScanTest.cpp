#include "catalogue/CatalogueScan.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/SizeClasses.h"

using namespace std::string_literals;

namespace {

// Writes "romimages/<class folder>/<name>", a bitmap header of the given size unless `bytes`.
void Add(const TempFolder& folder, int sizeClass, const std::string& name, std::int32_t width = 8,
         std::int32_t height = 8, std::uint16_t bitCount = 8, const Bytes& bytes = {}) {
    std::string path(SizeClasses()[sizeClass].folder.substr(1));
    std::replace(path.begin(), path.end(), '\\', '/');
    folder.Write(path + name,
                 bytes.empty()
                     ? TestBitmap{.width = width, .height = height, .bitCount = bitCount}.Build()
                     : bytes);
}

}  // namespace

TEST(UserBitmapRules, PaddedGameSizesBadSizesAndBitCounts) {
    using enum UserBitmapReason;
    const std::tuple<int, int, int, UserBitmapReason> cases[] = {
        {0x26, 0x26, 8, Pad28x26},       {0x26, 0x20, 8, BadSize},  {0x41, 0x11, 4, Pad48x11},
        {0x41, 0x10, 4, BadSize},        {0x21, 0x21, 8, Pad28x21}, {0x21, 0x20, 8, BadSize},
        {32, 32, 16, NotFourOrEightBit}, {33, 32, 8, BadSize}};
    for (const auto& [width, height, bits, reason] : cases)
        EXPECT_EQ(UserBitmapRefusal(width, height, bits), reason) << width << "x" << height;
    for (std::uint16_t width : {8, 16, 32, 40, 48, 64, 72}) {
        EXPECT_EQ(UserBitmapRefusal(width, 5, 4), Accepted);
        EXPECT_EQ(UserBitmapRefusal(width, 999, 8), Accepted);
    }
}

TEST(CatalogueScan, ClassesTakeOffsetsSizesDescriptionsAndUserBitmaps) {
    TempFolder folder;
    Add(folder, 7, "01A2B0 wall.bmp", 32, 32);
    Add(folder, 7, "00ff00.BMP");
    Add(folder, 7, "01A2B0 copy.bmp");  // the same offset as the wall
    Add(folder, 7, "notes.txt");
    folder.WriteText("romimages/20 20/2020.ini", "01A2B0 Brick wall\r\n000123 nobody\n");
    std::filesystem::create_directories(ClassFolderPath(folder.Path(), 1));
    Add(folder, USER_CLASS, "a padded.bmp", 0x26, 0x26);
    Add(folder, USER_CLASS, "b face.bmp", 72, 5, 4);
    Add(folder, USER_CLASS, "c deep.bmp", 32, 32, 16);
    Add(folder, USER_CLASS, "d tiny.bmp", 0, 0, 0, {'B', 'M'});  // cut short: width reads 0
    Add(folder, USER_CLASS, "e logo.bmp.bak", 16, 16);
    SizeClassTable table;
    table[2].replacementIndex[1] = 0;  // a reload forgets every replacement
    table.ResetForLoad();
    const ScanReport report = ScanCatalogue(folder.Path(), table);

    // Name order ignoring case; only the first entry with a key takes its line.
    const SizeClassRecord& record = table[7];
    ASSERT_EQ(record.entryCount, 3u);
    EXPECT_EQ(std::filesystem::path(record.imagePath[1]).filename(), "01A2B0 copy.bmp");
    EXPECT_EQ(record.romOffset[0] * 1000 + record.width[2], 0xFF00u * 1000 + 32);
    EXPECT_EQ(record.description[0] + "|" + record.description[1] + "|" + record.description[2],
              NO_DESCRIPTION + "|01A2B0 Brick wall\n|"s + NO_DESCRIPTION);
    // Empty or missing game folders are reported; an existing one gets an empty description file.
    EXPECT_EQ(report.classesWithoutBitmaps.size(), 22u);
    EXPECT_EQ(std::filesystem::file_size(DescriptionFilePath(folder.Path(), 1)), 0u);
    EXPECT_FALSE(std::filesystem::exists(ClassFolderPath(folder.Path(), 2)));
    EXPECT_EQ(table[2].replacementIndex[1], NO_REPLACEMENT);
    // User bitmaps are judged by their headers and numbered from 0.
    std::string refusals;
    for (const UserBitmapRefusalEntry& refusal : report.userRefusals)
        refusals += refusal.fileName + "=" + std::to_string(static_cast<int>(refusal.reason)) + ";";
    EXPECT_EQ(refusals,
              "a padded.bmp=" + std::to_string(int(UserBitmapReason::Pad28x26)) +
                  ";c deep.bmp=" + std::to_string(int(UserBitmapReason::NotFourOrEightBit)) +
                  ";d tiny.bmp=" + std::to_string(int(UserBitmapReason::BadSize)) + ";");
    const SizeClassRecord& user = table[USER_CLASS];
    ASSERT_EQ(user.entryCount, 2u);
    EXPECT_EQ(user.description[0] + "|" + user.description[1], "b face|e logo.bmp");
    EXPECT_EQ(user.romOffset[1] * 1000 + user.width[0] * 10 + user.height[0], 1000u + 725);
}

TEST(CatalogueScan, AClassTakesAtMostItsCapacity) {
    TempFolder folder;
    for (int i = 0; i < 1030; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06X.bmp", 0x10000 + i);
        Add(folder, 0, name);
    }
    SizeClassTable table;
    const ScanReport report = ScanCatalogue(folder.Path(), table);
    EXPECT_EQ(table[0].entryCount, MAX_CLASS_ENTRIES);
    EXPECT_EQ(table[0].romOffset[1023], 0x10000u + 1023);
    ASSERT_EQ(report.overflows.size(), 1u);
    EXPECT_EQ(report.overflows[0].sizeClass * 1000 + report.overflows[0].leftOut, 6u);
}
