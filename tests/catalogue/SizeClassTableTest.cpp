#include <gtest/gtest.h>

#include "catalogue/SizeClassTable.h"

// Saving scans every slot of every class, so all of them must read "no replacement".
static void ExpectEmptyWithoutReplacements(const SizeClassTable& table) {
    for (int c = 0; c < SIZE_CLASS_COUNT; ++c) {
        EXPECT_EQ(table[c].entryCount, 0u) << "class " << c;
        for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k) {
            ASSERT_EQ(table[c].replacementIndex[k], NO_REPLACEMENT) << c << '/' << k;
            ASSERT_EQ(table[c].replacementSize[k], 0) << c << '/' << k;
        }
    }
}

TEST(SizeClassTable, ResetClearsReplacementsInAllSlotsAndKeepsTheRest) {
    SizeClassTable table;
    ExpectEmptyWithoutReplacements(table);
    ASSERT_TRUE(table.AppendEntry(3, "a.bmp", 0x1A2B0, 16, 16));
    SizeClassRecord& record = table[3];
    record.replacementIndex[0] = 2;
    record.replacementSize[0] = 0x180;
    record.replacementClass[0] = 7;
    record.description[0] = "01A2B0 wall\n";
    table[22].replacementIndex[1023] = 5;  // beyond entryCount
    table[22].replacementSize[1023] = 9;

    table.ResetForLoad();
    ExpectEmptyWithoutReplacements(table);
    EXPECT_EQ(record.imagePath[0], "a.bmp");
    EXPECT_EQ(record.romOffset[0], 0x1A2B0u);
    EXPECT_EQ(record.replacementClass[0], 7u);
    EXPECT_EQ(record.description[0], "01A2B0 wall\n");
    EXPECT_EQ(record.width[0] * 100 + record.height[0], 1616u);
}

TEST(SizeClassTable, AppendFillsSlotsInOrderUntilTheClassIsFull) {
    SizeClassTable table;
    for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k) {
        ASSERT_TRUE(table.AppendEntry(5, "p" + std::to_string(k), 0x10000 + k, 16, 32));
    }
    EXPECT_FALSE(table.AppendEntry(5, "extra", 0x99, 1, 1));
    const SizeClassRecord& record = table[5];
    EXPECT_EQ(record.entryCount, MAX_CLASS_ENTRIES);
    EXPECT_EQ(record.imagePath[1023], "p1023");
    EXPECT_EQ(record.romOffset[1023], 0x10000u + 1023);
    EXPECT_EQ(record.width[7] * 100 + record.height[7], 1632u);
    EXPECT_EQ(table[4].entryCount + table[6].entryCount, 0u);

    table.ResetForLoad();  // the class fills again from slot 0
    ASSERT_TRUE(table.AppendEntry(5, "again", 0x20000, 16, 32));
    EXPECT_EQ(record.entryCount, 1u);
    EXPECT_EQ(record.imagePath[0], "again");
}
