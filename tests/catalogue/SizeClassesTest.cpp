#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/SizeClasses.h"

TEST(ClassSizes, TableOfTheTwentyFourClasses) {
    const char* labels[SIZE_CLASS_COUNT] = {
        "08 x 08",  "08 x 80", "10 x 10", "10 x 10G", "10 x 20", "10 x 20G", "10 x 40",  "20 x 20",
        "20 x 20G", "21 x 21", "26 x 26", "20 x 30",  "20 x 40", "20 x 40G", "30 x 20",  "40 x 10",
        "40 x 11",  "40 x 20", "80 x 08", "80 x 09",  "80 x 0B", "80 x 0C",  "80 x 10G", "User"};
    const std::uint32_t sizes[SIZE_CLASS_COUNT][2] = {
        {8, 8},   {8, 128}, {16, 16}, {16, 16}, {16, 32},  {16, 32},  {16, 64},  {32, 32},
        {32, 32}, {33, 33}, {38, 38}, {32, 48}, {32, 64},  {32, 64},  {48, 32},  {64, 16},
        {64, 17}, {64, 32}, {128, 8}, {128, 9}, {128, 11}, {128, 12}, {128, 16}, {0, 0}};
    int gClasses = 0;
    for (int i = 0; i < SIZE_CLASS_COUNT; ++i) {
        const SizeClassInfo& info = SizeClasses()[i];
        std::string name = labels[i];  // "10 x 10G" lives in folder "10 10G", file "1010G.ini"
        if (i != USER_CLASS) {
            name.erase(2, 2);
        }
        std::string file = name;
        std::erase(file, ' ');
        SCOPED_TRACE(labels[i]);
        EXPECT_EQ(info.comboLabel, labels[i]);
        EXPECT_EQ(info.folder, "\\romimages\\" + name + "\\");
        EXPECT_EQ(info.descriptionFile, file + ".ini");
        EXPECT_EQ(info.formatFlag, name.back() == 'G' ? "G" : "N");
        EXPECT_EQ(ClassWidth(i), sizes[i][0]);
        EXPECT_EQ(ClassHeight(i), sizes[i][1]);
        gClasses += info.formatFlag == "G";
    }
    EXPECT_EQ(gClasses, 5);
}

// Catalogues unpacked elsewhere may spell the folders and files in any case.
TEST(ClassSizes, ClassPathsFoundIgnoringCase) {
    TempFolder program;
    program.WriteText("ROMIMAGES/08 08/0808.INI", "");
    std::filesystem::create_directories(program / "ROMIMAGES/80 0b");
    EXPECT_EQ(DescriptionFilePath(program.Path(), 0), program / "ROMIMAGES/08 08/0808.INI");
    EXPECT_EQ(ClassFolderPath(program.Path(), 20), program / "ROMIMAGES/80 0b");
    // Missing parts are kept as written, so a missing description file can be created there.
    EXPECT_EQ(DescriptionFilePath(program.Path(), 22), program / "ROMIMAGES/80 10G/8010G.ini");
}
