#include <gtest/gtest.h>

#include "TempFolder.h"
#include "io/FileBytes.h"

TEST(FileReading, BoundedAndWholeReads) {
    TempFolder folder;
    const auto file = folder.Write("data.bin", {1, 2, 3, 4, 5});
    EXPECT_EQ(ReadFileBytes(file), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ReadFileBytes(file, 2), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(ReadFileBytes(folder / "missing"), std::nullopt);
    EXPECT_EQ(ReadFileBytes(folder.Path()), std::nullopt);

    std::uint8_t exact[5] = {};
    EXPECT_TRUE(ReadWholeFileInto(file, exact));
    EXPECT_EQ(exact[4], 5);
    std::uint8_t shorter[4] = {};
    std::uint8_t longer[6] = {};
    EXPECT_FALSE(ReadWholeFileInto(file, shorter));  // the file has more
    EXPECT_FALSE(ReadWholeFileInto(file, longer));   // the file has less
    EXPECT_FALSE(ReadWholeFileInto(folder / "missing", exact));
    EXPECT_FALSE(ReadWholeFileInto(folder.Path(), exact));
}
