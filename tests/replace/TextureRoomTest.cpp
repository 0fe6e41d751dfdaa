#include <gtest/gtest.h>

#include "TempFolder.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "replace/TextureRoom.h"

namespace {

ImageTable Table(std::vector<std::uint32_t> values) {
    return ImageTable{std::move(values)};
}

}  // namespace

TEST(TextureRooms, FromTheEntryAfterTheMatch) {
    const auto table = Table({0x0FFFF, 0x10FFF, 0x20000, 0xFFFFFFFF, 0x5});
    // 0x10000 - 1 is entry 0: room 0x10FFF - 0x0FFFF - 1.
    EXPECT_EQ(AvailableRoom(table, 0x10000), 0xFFFu);
    EXPECT_EQ(AvailableRoom(table, 0x11000), 0xF000u);
    // No entry holds offset - 1.
    EXPECT_EQ(AvailableRoom(table, 0x12345), DEFAULT_ROOM);
    // Offset 0 looks for 0xFFFFFFFF; the room then wraps in 32 bits.
    EXPECT_EQ(AvailableRoom(table, 0), 0x5u - 0xFFFFFFFFu - 1u);
    // The last value has nothing after it.
    EXPECT_EQ(AvailableRoom(Table({0x100, 0x1FF}), 0x200), DEFAULT_ROOM);
    EXPECT_EQ(AvailableRoom(std::nullopt, 0x10000), DEFAULT_ROOM);
    // The first match counts.
    EXPECT_EQ(AvailableRoom(Table({0x9, 0x19, 0x9, 0x99}), 0xA), 0xFu);
}

class NativeBytesTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path rom;

    void SetUp() override {
        // Native byte p holds p & 0xFF; the file holds the swapped order.
        std::vector<std::uint8_t> image(ROM_IMAGE_SIZE);
        for (std::size_t p = 0; p < image.size(); ++p) {
            image[p] = static_cast<std::uint8_t>(p);
        }
        SwapBytePairs(image);
        rom = folder.Write("work.rom", image);
    }
};

TEST_F(NativeBytesTest, OddAndEvenOffsetsGiveNativeBytes) {
    EXPECT_EQ(ReadRomBytes(rom, 5, 4), (std::vector<std::uint8_t>{5, 6, 7, 8}));
    EXPECT_EQ(ReadRomBytes(rom, 0x1234, 3), (std::vector<std::uint8_t>{0x34, 0x35, 0x36}));
    EXPECT_EQ(PaletteByte(rom, 0x10000), 0x01);
    EXPECT_EQ(PaletteByte(rom, 0x100FE), 0xFF);
}

TEST_F(NativeBytesTest, NothingIsReadPastTheImageOrTheFile) {
    EXPECT_EQ(ReadRomBytes(rom, ROM_IMAGE_SIZE - 2, 2560), (std::vector<std::uint8_t>{0xFE, 0xFF}));
    EXPECT_EQ(ReadRomBytes(rom, ROM_IMAGE_SIZE, 4), std::vector<std::uint8_t>{});
    EXPECT_EQ(PaletteByte(rom, ROM_IMAGE_SIZE - 1), std::nullopt);

    // A file cut short: a pair cut in half gives nothing of that pair's missing half.
    std::filesystem::resize_file(rom, 0x101);
    EXPECT_EQ(ReadRomBytes(rom, 0xFE, 4), (std::vector<std::uint8_t>{0xFE, 0xFF}));
    EXPECT_EQ(PaletteByte(rom, 0xFF), std::nullopt);
    EXPECT_EQ(PaletteByte(rom, 0x10000), std::nullopt);
    EXPECT_EQ(ReadRomBytes(folder / "missing.rom", 0, 4), std::nullopt);
}
