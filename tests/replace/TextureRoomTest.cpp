#include <gtest/gtest.h>

#include "TempFolder.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "replace/TextureRoom.h"

using Bytes = std::vector<std::uint8_t>;

TEST(TextureRooms, FromTheEntryAfterTheFirstMatchOfOffsetMinusOne) {
    const ImageTable table{{0x0FFFF, 0x10FFF, 0x20000, 0xFFFFFFFF, 0x5}};
    // Offset 0 looks for 0xFFFFFFFF; the last value has nothing after it to bound it.
    const struct {
        std::optional<ImageTable> table;
        std::uint32_t offset, room;
    } cases[] = {{table, 0x10000, 0xFFF},
                 {table, 0x11000, 0xF000},
                 {table, 0x12345, DEFAULT_ROOM},
                 {table, 0, 0x5u - 0xFFFFFFFFu - 1u},
                 {ImageTable{{0x100, 0x1FF}}, 0x200, DEFAULT_ROOM},
                 {std::nullopt, 0x10000, DEFAULT_ROOM},
                 {ImageTable{{0x9, 0x19, 0x9, 0x99}}, 0xA, 0xF}};
    for (const auto& c : cases)
        EXPECT_EQ(AvailableRoom(c.table, c.offset), c.room) << c.offset;
}

TEST(NativeBytes, FromASwappedFileNeverPastTheImageOrTheFile) {
    TempFolder folder;
    Bytes image(ROM_IMAGE_SIZE);  // native byte p holds p & 0xFF
    for (std::size_t p = 0; p < image.size(); ++p) {
        image[p] = static_cast<std::uint8_t>(p);
    }
    SwapBytePairs(image);
    const auto rom = folder.Write("work.rom", image);
    EXPECT_EQ(ReadRomBytes(rom, 5, 4), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(ReadRomBytes(rom, 0x1234, 3), (Bytes{0x34, 0x35, 0x36}));
    EXPECT_EQ(PaletteByte(rom, 0x100FE), 0xFF);
    EXPECT_EQ(ReadRomBytes(rom, ROM_IMAGE_SIZE - 2, 2560), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(ReadRomBytes(rom, ROM_IMAGE_SIZE, 4), Bytes{});
    EXPECT_EQ(PaletteByte(rom, ROM_IMAGE_SIZE - 1), std::nullopt);
    std::filesystem::resize_file(rom, 0x101);  // a pair cut in half gives nothing of its half
    EXPECT_EQ(ReadRomBytes(rom, 0xFE, 4), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(PaletteByte(rom, 0xFF), std::nullopt);
    EXPECT_EQ(ReadRomBytes(folder / "missing.rom", 0, 4), std::nullopt);
}
