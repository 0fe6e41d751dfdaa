#include "catalogue/SizeClasses.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(info.comboLabel, label);
        EXPECT_EQ(info.folder, "\\romimages\\" + name + "\\");
        EXPECT_EQ(std::string(info.descriptionFile),
                  (i == USER_CLASS ? name : name.substr(0, 2) + name.substr(3)) + ".ini");
        EXPECT_EQ(info.formatFlag, name.back() == 'G' ? "G" : "N");
        const auto size = i == USER_CLASS ? 0
                                          : std::stoul(label.substr(0, 2), nullptr, 16) << 8 |
                                                std::stoul(label.substr(5, 2), nullptr, 16);
        EXPECT_EQ(ClassWidth(i) << 8 | ClassHeight(i), size) << label;
    }
}
