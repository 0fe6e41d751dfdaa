#include "catalogue/SizeClassTable.h"

#include <gtest/gtest.h>

// Saving scans every slot of every class, so a reset must clear the replacements of all of them
// (also beyond the entry count) while keeping paths, offsets, descriptions and sizes.
TEST(SizeClassTable, AppendUntilFullThenResetClearsEveryReplacement) {
    SizeClassTable table;
    for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k)
        ASSERT_TRUE(table.AppendEntry(5, "p" + std::to_string(k), 0x10000 + k, 16, 32));
    EXPECT_FALSE(table.AppendEntry(5, "extra", 0x99, 1, 1));
    SizeClassRecord& record = table[5];
    EXPECT_EQ(record.imagePath[1023] + " " + std::to_string(record.romOffset[1023]), "p1023 66559");
    record.replacementIndex[3] = 2;
    record.replacementSize[3] = 0x180;
    table[22].replacementIndex[1023] = 5;
    table.ResetForLoad();
    for (int c = 0; c < SIZE_CLASS_COUNT; ++c) {
        EXPECT_EQ(table[c].entryCount, 0u);
        for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k)
            ASSERT_TRUE(table[c].replacementIndex[k] == NO_REPLACEMENT &&
                        table[c].replacementSize[k] == 0)
                << c << '/' << k;
    }
    EXPECT_EQ(record.imagePath[7] + " " + std::to_string(record.width[7] * 100 + record.height[7]),
              "p7 1632");
    ASSERT_TRUE(table.AppendEntry(5, "again", 0x20000, 16, 32));  // the class fills again from 0
    EXPECT_EQ(record.imagePath[0] + " " + std::to_string(record.entryCount), "again 1");
}
