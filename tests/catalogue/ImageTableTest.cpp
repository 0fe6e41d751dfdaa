#include "catalogue/ImageTable.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

// Complete little-endian values only, at most IMAGE_TABLE_LENGTH of them; value i of a table of
// `size` bytes is (i + 1) * 0x9E3779B1, so order and alignment faults show.
TEST(ImageTable, CompleteValuesUpToTheTableLengthFromBytesAndFiles) {
    TempFolder folder;
    const std::size_t cases[][2] = {{0, 0},        {3, 0},        {7, 1},       {4001, 1000},
                                    {10795, 2698}, {10796, 2699}, {20000, 2699}};
    for (const auto& [size, count] : cases) {
        std::vector<std::uint8_t> bytes(size);
        std::vector<std::uint32_t> values(count);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>((i / 4 + 1) * 0x9E3779B1u >> (8 * (i % 4)));
        for (std::size_t i = 0; i < count; ++i)
            values[i] = static_cast<std::uint32_t>(i + 1) * 0x9E3779B1u;
        EXPECT_EQ(ParseImageTable(bytes).values, values) << size;
        EXPECT_EQ(ReadImageTable(folder.Write("t.bin", bytes))->values, values) << size;
    }
    // A missing file, or one that opens but cannot be read, is no table rather than an empty one.
    EXPECT_EQ(ReadImageTable(folder / "missing.bin"), std::nullopt);
    EXPECT_EQ(ReadImageTable(folder.Path()), std::nullopt);
}
