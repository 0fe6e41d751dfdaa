#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/CatalogueScan.h"
#include "catalogue/SizeClasses.h"

namespace {

// A bitmap header is all the scan reads of a file; the pixels do not matter to it.
Bytes BitmapOf(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    TestBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = bitCount;
    bitmap.table = DistinctTable(bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0);
    return bitmap.Build();
}

class CatalogueScanTest : public ::testing::Test {
protected:
    TempFolder folder;
    SizeClassTable table;

    // Writes a bitmap into a class folder, "romimages/<folder>/<name>".
    void AddBitmap(int sizeClass, const std::string& name, const Bytes& bytes) {
        std::string classFolder(SizeClasses()[sizeClass].folder);
        for (char& c : classFolder) {
            if (c == '\\') {
                c = '/';
            }
        }
        folder.Write(classFolder.substr(1) + name, bytes);
    }
    void AddDescriptions(int sizeClass, const std::string& text) {
        const auto path = DescriptionFilePath(folder.Path(), sizeClass);
        folder.WriteText(std::filesystem::relative(path, folder.Path()).string(), text);
    }
    ScanReport Scan() {
        table.ResetForLoad();
        return ScanCatalogue(folder.Path(), table);
    }
};

}  // namespace

TEST(UserBitmapRules, SizesAndBitCounts) {
    using enum UserBitmapReason;
    EXPECT_EQ(UserBitmapRefusal(0x26, 0x26, 8), Pad28x26);
    EXPECT_EQ(UserBitmapRefusal(0x26, 0x20, 8), BadSize);
    EXPECT_EQ(UserBitmapRefusal(0x41, 0x11, 4), Pad48x11);
    EXPECT_EQ(UserBitmapRefusal(0x41, 0x10, 4), BadSize);
    EXPECT_EQ(UserBitmapRefusal(0x21, 0x21, 8), Pad28x21);
    EXPECT_EQ(UserBitmapRefusal(0x21, 0x20, 8), BadSize);
    EXPECT_EQ(UserBitmapRefusal(32, 32, 16), NotFourOrEightBit);
    EXPECT_EQ(UserBitmapRefusal(33, 32, 8), BadSize);
    for (std::uint16_t width : {8, 16, 32, 40, 48, 64, 72}) {
        EXPECT_EQ(UserBitmapRefusal(width, 5, 4), Accepted) << width;
        EXPECT_EQ(UserBitmapRefusal(width, 999, 8), Accepted) << width;
    }
}

TEST_F(CatalogueScanTest, GameClassesTakeOffsetsSizesAndDescriptions) {
    AddBitmap(7, "01A2B0 wall.bmp", BitmapOf(32, 32, 8));
    AddBitmap(7, "00ff00.BMP", BitmapOf(32, 32, 8));
    AddBitmap(7, "01A2B0 copy.bmp", BitmapOf(32, 32, 8));  // same offset as the wall
    AddBitmap(7, "notes.txt", {});
    AddDescriptions(7, "01A2B0 Brick wall\r\n000123 nobody\n");
    const ScanReport report = Scan();

    const SizeClassRecord& record = table[7];
    ASSERT_EQ(record.entryCount, 3u);
    // Name order, ignoring case.
    EXPECT_EQ(std::filesystem::path(record.imagePath[0]).filename(), "00ff00.BMP");
    EXPECT_EQ(std::filesystem::path(record.imagePath[1]).filename(), "01A2B0 copy.bmp");
    EXPECT_EQ(record.romOffset[0], 0xFF00u);
    EXPECT_EQ(record.romOffset[1], 0x1A2B0u);
    EXPECT_EQ(record.width[2], 32u);
    EXPECT_EQ(record.height[2], 32u);
    // Only the first entry with the key takes the line.
    EXPECT_EQ(record.description[1], "01A2B0 Brick wall\n");
    EXPECT_EQ(record.description[2], NO_DESCRIPTION);
    EXPECT_EQ(record.description[0], NO_DESCRIPTION);
    EXPECT_TRUE(std::find(report.classesWithoutBitmaps.begin(), report.classesWithoutBitmaps.end(),
                          7) == report.classesWithoutBitmaps.end());
}

TEST_F(CatalogueScanTest, EmptyAndMissingFoldersAreReportedAndGetEmptyDescriptionFiles) {
    AddBitmap(0, "010000.bmp", BitmapOf(8, 8, 8));
    std::filesystem::create_directories(ClassFolderPath(folder.Path(), 1));
    const ScanReport report = Scan();

    std::vector<int> expected;
    for (int c = 1; c < USER_CLASS; ++c) {
        expected.push_back(c);
    }
    EXPECT_EQ(report.classesWithoutBitmaps, expected);
    // The existing folders got an empty description file; a missing folder is left missing.
    EXPECT_TRUE(std::filesystem::exists(DescriptionFilePath(folder.Path(), 0)));
    EXPECT_EQ(std::filesystem::file_size(DescriptionFilePath(folder.Path(), 1)), 0u);
    EXPECT_FALSE(std::filesystem::exists(ClassFolderPath(folder.Path(), 2)));
    EXPECT_EQ(table[0].description[0], NO_DESCRIPTION);
    EXPECT_TRUE(report.userRefusals.empty());
    EXPECT_EQ(table[USER_CLASS].entryCount, 0u);
}

TEST_F(CatalogueScanTest, UserBitmapsAreCheckedByTheirHeaders) {
    AddBitmap(USER_CLASS, "a padded.bmp", BitmapOf(0x26, 0x26, 8));
    AddBitmap(USER_CLASS, "b face.bmp", BitmapOf(72, 5, 4));
    AddBitmap(USER_CLASS, "c deep.bmp", BitmapOf(32, 32, 16));
    AddBitmap(USER_CLASS, "d tiny.bmp", {'B', 'M'});  // header cut short: width reads 0
    AddBitmap(USER_CLASS, "e logo.bmp.bak", BitmapOf(16, 16, 8));
    const ScanReport report = Scan();

    ASSERT_EQ(report.userRefusals.size(), 3u);
    const std::pair<const char*, UserBitmapReason> expected[] = {
        {"a padded.bmp", UserBitmapReason::Pad28x26},
        {"c deep.bmp", UserBitmapReason::NotFourOrEightBit},
        {"d tiny.bmp", UserBitmapReason::BadSize}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report.userRefusals[i].fileName, expected[i].first);
        EXPECT_EQ(report.userRefusals[i].reason, expected[i].second);
    }
    const SizeClassRecord& user = table[USER_CLASS];
    ASSERT_EQ(user.entryCount, 2u);
    EXPECT_EQ(user.description[0], "b face");
    EXPECT_EQ(user.romOffset[0], 0u);
    EXPECT_EQ(user.width[0], 72u);
    EXPECT_EQ(user.height[0], 5u);
    EXPECT_EQ(user.description[1], "e logo.bmp");
    EXPECT_EQ(user.romOffset[1], 1u);
}

TEST_F(CatalogueScanTest, ReloadForgetsReplacementsAndEarlierDescriptions) {
    AddBitmap(2, "020000 a.bmp", BitmapOf(16, 16, 8));
    AddBitmap(2, "030000 b.bmp", BitmapOf(16, 16, 8));
    AddDescriptions(2, "020000 First\n030000 Second\n");
    Scan();
    table[2].replacementIndex[1] = 0;
    table[5].replacementIndex[1000] = 3;
    // The first bitmap goes away and its line with it: entry 0 is now the second texture.
    std::filesystem::remove(table[2].imagePath[0]);
    AddDescriptions(2, "030000 Second\n");
    Scan();

    EXPECT_EQ(table[2].entryCount, 1u);
    EXPECT_EQ(table[2].description[0], "030000 Second\n");
    for (int c = 0; c < SIZE_CLASS_COUNT; ++c) {
        for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k) {
            ASSERT_EQ(table[c].replacementIndex[k], NO_REPLACEMENT) << c << " " << k;
        }
    }
}

TEST_F(CatalogueScanTest, AClassTakesAtMostItsCapacity) {
    const Bytes bitmap = BitmapOf(8, 8, 8);
    for (int i = 0; i < 1030; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06X.bmp", 0x10000 + i);
        AddBitmap(0, name, bitmap);
    }
    const ScanReport report = Scan();
    EXPECT_EQ(table[0].entryCount, MAX_CLASS_ENTRIES);
    ASSERT_EQ(report.overflows.size(), 1u);
    EXPECT_EQ(report.overflows[0].sizeClass, 0);
    EXPECT_EQ(report.overflows[0].leftOut, 6u);
    EXPECT_EQ(table[0].romOffset[1023], 0x10000u + 1023);
}
