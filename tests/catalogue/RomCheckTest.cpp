#include "catalogue/RomCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TempFolder.h"
#include "io/RomImage.h"

// The header decides first (marker at 0x20, the bytes at 0x3E and 0x3F; bytes a short file
// lacks read as zero), then the length.
TEST(RomCheck, VerdictsFromTheHeaderThenTheLength) {
    using V = RomVerdict;
    constexpr std::uint64_t ROM = ROM_IMAGE_SIZE;
    constexpr V S = V::Swapped, N = V::Native, R = V::WrongRegion, G = V::WrongGame,
                Z = V::WrongSize;
    // Marker, bytes at 0x3E and 0x3F, leading bytes passed (past 0x40 they are 0xAA), length,
    // verdict. Without a marker 00 then a region code is the region; a native file reads 0x3E
    // as the country, so 00 50 there is no region.
    const std::tuple<const char*, int, int, std::size_t, std::uint64_t, RomVerdict> cases[] = {
        {"OMNO", 0x00, 0x45, 0x40, ROM, S},  {"MOON", 0x45, 0x00, 0x1000, ROM, N},
        {"OMNO", 0x00, 0x50, 0x40, ROM, R},  {"OMNO", 0x00, 0x4A, 0x40, ROM - 2, R},
        {"MOON", 0x50, 0x00, 0x40, ROM, R},  {"MOON", 0x4A, 0x00, 0x40, ROM, R},
        {"JUNK", 0x00, 0x50, 0x40, 0x40, R}, {"\0\0\0", 0x00, 0x4A, 0x40, 5000, R},
        {"OMNO", 0x01, 0x45, 0x40, ROM, G},  {"MOON", 0x00, 0x45, 0x40, ROM, G},
        {"OMNO", 0x45, 0x00, 0x40, ROM, G},  {"MOON", 0x00, 0x50, 0x40, ROM, G},
        {"MOON", 0x45, 0x01, 0x40, ROM, G},  {"MOON", 0x50, 0x01, 0x40, ROM, G},
        {"MOOM", 0x45, 0x00, 0x40, ROM, G},  {"ONMO", 0x00, 0x45, 0x40, ROM, G},
        {"ABCD", 0x12, 0x34, 0x40, 100, G},  {"OMNO", 0x01, 0x45, 0x40, ROM + 1, G},
        {"OMNO", 0x00, 0x45, 0x22, 0x22, G}, {"OMNO", 0x00, 0x45, 0, 0, G},
        {"MOON", 0x50, 0x00, 0x3F, 0x3F, R}, {"OMNO", 0x00, 0x45, 0x3F, 0x3F, G},
        {"MOON", 0x45, 0x00, 0x3F, 0x3F, Z}};
    auto header = [](const char* marker, int at3E, int at3F, std::size_t kept) {
        std::vector<std::uint8_t> bytes(0x40, 0);
        std::memcpy(bytes.data() + 0x20, marker, 4);
        bytes[0x3E] = static_cast<std::uint8_t>(at3E);
        bytes[0x3F] = static_cast<std::uint8_t>(at3F);
        bytes.resize(kept, 0xAA);
        return bytes;
    };
    for (const auto& [marker, at3E, at3F, kept, length, verdict] : cases) {
        EXPECT_EQ(CheckRomFile(header(marker, at3E, at3F, kept), length), verdict)
            << marker << " " << at3E << " " << at3F << " " << kept << " " << length;
    }
    for (std::uint64_t length :
         {std::uint64_t{0x40}, ROM - 1, ROM + 1, 2 * ROM, std::uint64_t{1} << 40}) {
        EXPECT_EQ(CheckRomFile(header("MOON", 0x45, 0, 0x40), length), Z) << length;
        EXPECT_EQ(CheckRomFile(header("OMNO", 0, 0x45, 0x40), length), Z) << length;
    }
}

TEST(RomCheck, PathsThatAreNoFileOrTooShort) {
    TempFolder folder;
    EXPECT_EQ(CheckRomPath(folder / "missing.rom").verdict, RomVerdict::NotFound);
    EXPECT_EQ(CheckRomPath(folder.Path()).verdict, RomVerdict::NotAFile);
    std::vector<std::uint8_t> small(0x40, 0);
    std::memcpy(small.data() + 0x20, "OMNO", 4);
    small[0x3F] = 0x45;
    const RomFileCheck check = CheckRomPath(folder.Write("small.rom", small));
    EXPECT_EQ(check.verdict, RomVerdict::WrongSize);
    EXPECT_EQ(check.length, small.size());
}
