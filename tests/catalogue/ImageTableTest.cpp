#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/ImageTable.h"

// Value i of a generated table; every byte differs, so order and alignment faults show.
static std::uint32_t ValueAt(std::size_t i) {
    return static_cast<std::uint32_t>(i + 1) * 0x9E3779B1u;
}

static std::vector<std::uint8_t> TableBytes(std::size_t byteCount) {
    std::vector<std::uint8_t> bytes(byteCount);
    for (std::size_t i = 0; i < byteCount; ++i) {
        bytes[i] = static_cast<std::uint8_t>(ValueAt(i / 4) >> (8 * (i % 4)));
    }
    return bytes;
}

static void ExpectValues(const ImageTable& table, std::size_t count) {
    ASSERT_EQ(table.values.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(table.values[i], ValueAt(i)) << i;
    }
}

TEST(ImageTable, OnlyCompleteLittleEndianValuesUpToTheTableLength) {
    const std::vector<std::uint8_t> bytes = {0x78, 0x56, 0x34, 0x12, 0xFF, 0x00, 0x00, 0x80};
    EXPECT_EQ(ParseImageTable(bytes).values, (std::vector<std::uint32_t>{0x12345678, 0x800000FF}));
    const std::size_t cases[][2] = {{0, 0},        {3, 0},        {4, 1},        {7, 1},
                                    {10795, 2698}, {10796, 2699}, {10800, 2699}, {20000, 2699}};
    for (const auto& [byteCount, valueCount] : cases) {
        SCOPED_TRACE(byteCount);
        ExpectValues(ParseImageTable(TableBytes(byteCount)), valueCount);
    }
}

TEST(ImageTable, ReadFromFile) {
    TempFolder folder;
    ExpectValues(*ReadImageTable(folder.Write(IMAGE_TABLE_FILE, TableBytes(10796))), 2699);
    ExpectValues(*ReadImageTable(folder.Write("long.bin", TableBytes(10796 + 9))), 2699);
    ExpectValues(*ReadImageTable(folder.Write("short.bin", TableBytes(4001))), 1000);
    ExpectValues(*ReadImageTable(folder.Write("empty.bin", {})), 0);
    EXPECT_EQ(ReadImageTable(folder / "missing.bin"), std::nullopt);
}

// A path that opens but cannot be read (here a folder) counts as a missing table, not an empty one.
TEST(ImageTable, UnreadableFileGivesNullopt) {
    TempFolder folder;
    EXPECT_EQ(ReadImageTable(folder.Path()), std::nullopt);
}
