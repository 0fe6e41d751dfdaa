#include "catalogue/RomCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "io/RomImage.h"

// The header decides first (marker at 0x20, the bytes at 0x3E and 0x3F; bytes a short file
// lacks read as zero), then the length.
TEST(RomCheck, VerdictsFromTheHeaderThenTheLength) {
    using V = RomVerdict;
    constexpr std::uint64_t ROM = ROM_IMAGE_SIZE;
    const struct {
        const char* marker;
        std::uint8_t at3E, at3F;
        std::size_t kept;  // leading bytes passed; past 0x40 they are 0xAA
        std::uint64_t length;
        RomVerdict verdict;
    } cases[] = {
        {"OMNO", 0x00, 0x45, 0x40, ROM, V::Swapped},
        {"MOON", 0x45, 0x00, 0x1000, ROM, V::Native},
        {"OMNO", 0x00, 0x50, 0x40, ROM, V::WrongRegion},
        {"OMNO", 0x00, 0x4A, 0x40, ROM - 2, V::WrongRegion},
        {"MOON", 0x50, 0x00, 0x40, ROM, V::WrongRegion},
        {"MOON", 0x4A, 0x00, 0x40, ROM, V::WrongRegion},
        {"JUNK", 0x00, 0x50, 0x40, 0x40, V::WrongRegion},  // no marker: 00 then a region code
        {"\0\0\0", 0x00, 0x4A, 0x40, 5000, V::WrongRegion},
        {"MOON", 0x50, 0x00, 0x3F, 0x3F, V::WrongRegion},
        {"OMNO", 0x01, 0x45, 0x40, ROM, V::WrongGame},
        {"MOON", 0x00, 0x45, 0x40, ROM, V::WrongGame},  // codes in the other order's place
        {"OMNO", 0x45, 0x00, 0x40, ROM, V::WrongGame},
        {"MOON", 0x00, 0x50, 0x40, ROM, V::WrongGame},  // native: 0x3E is the country
        {"MOON", 0x45, 0x01, 0x40, ROM, V::WrongGame},
        {"MOON", 0x50, 0x01, 0x40, ROM, V::WrongGame},
        {"MOOM", 0x45, 0x00, 0x40, ROM, V::WrongGame},
        {"ONMO", 0x00, 0x45, 0x40, ROM, V::WrongGame},
        {"ABCD", 0x12, 0x34, 0x40, 100, V::WrongGame},
        {"OMNO", 0x01, 0x45, 0x40, ROM + 1, V::WrongGame},
        {"OMNO", 0x00, 0x45, 0x3F, 0x3F, V::WrongGame},
        {"OMNO", 0x00, 0x45, 0x22, 0x22, V::WrongGame},
        {"OMNO", 0x00, 0x45, 0, 0, V::WrongGame},
        {"MOON", 0x45, 0x00, 0x3F, 0x3F, V::WrongSize},
    };
    auto header = [](const char* marker, std::uint8_t at3E, std::uint8_t at3F, std::size_t kept) {
        std::vector<std::uint8_t> bytes(0x40, 0);
        std::memcpy(bytes.data() + 0x20, marker, 4);
        bytes[0x3E] = at3E;
        bytes[0x3F] = at3F;
        bytes.resize(kept, 0xAA);
        return bytes;
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckRomFile(header(c.marker, c.at3E, c.at3F, c.kept), c.length), c.verdict)
            << c.marker << " " << c.kept << " " << c.length;
    }
    for (std::uint64_t length :
         {std::uint64_t{0x40}, ROM - 1, ROM + 1, 2 * ROM, std::uint64_t{1} << 40}) {
        EXPECT_EQ(CheckRomFile(header("MOON", 0x45, 0, 0x40), length), V::WrongSize) << length;
        EXPECT_EQ(CheckRomFile(header("OMNO", 0, 0x45, 0x40), length), V::WrongSize) << length;
    }
}
