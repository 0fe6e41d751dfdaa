#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "catalogue/RomCheck.h"
#include "io/RomImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The first 0x40 bytes of a file: `marker` at 0x20 and the two bytes at 0x3E and 0x3F.
Bytes Header(const char* marker, std::uint8_t at3E, std::uint8_t at3F) {
    Bytes bytes(0x40, 0);
    std::memcpy(bytes.data() + 0x20, marker, 4);
    bytes[0x3E] = at3E;
    bytes[0x3F] = at3F;
    return bytes;
}

RomVerdict Check(const Bytes& header, std::uint64_t length = ROM_IMAGE_SIZE) {
    return CheckRomFile(header, length);
}

}  // namespace

// --- Accepted images ------------------------------------------------------------------------

TEST(RomCheckAccepts, SwappedWith00And45) {
    EXPECT_EQ(Check(Header("OMNO", 0x00, 0x45)), RomVerdict::Swapped);
}

TEST(RomCheckAccepts, NativeWith45And00) {
    EXPECT_EQ(Check(Header("MOON", 0x45, 0x00)), RomVerdict::Native);
}

TEST(RomCheckAccepts, MoreLeadingBytesThanTheHeaderChangeNothing) {
    Bytes longer = Header("MOON", 0x45, 0x00);
    longer.resize(0x1000, 0xAA);
    EXPECT_EQ(Check(longer), RomVerdict::Native);
}

// --- Wrong region -----------------------------------------------------------------------------

TEST(RomCheckRegion, SwappedPalAndJapanese) {
    EXPECT_EQ(Check(Header("OMNO", 0x00, 0x50)), RomVerdict::WrongRegion);
    EXPECT_EQ(Check(Header("OMNO", 0x00, 0x4A)), RomVerdict::WrongRegion);
}

TEST(RomCheckRegion, NativePalAndJapanese) {
    EXPECT_EQ(Check(Header("MOON", 0x50, 0x00)), RomVerdict::WrongRegion);
    EXPECT_EQ(Check(Header("MOON", 0x4A, 0x00)), RomVerdict::WrongRegion);
}

TEST(RomCheckRegion, AnyOtherFileWith00ThenRegionCode) {
    // No marker at all: the 16-bit value at 0x3E alone decides, whatever the length.
    EXPECT_EQ(Check(Header("JUNK", 0x00, 0x50), 0x40), RomVerdict::WrongRegion);
    EXPECT_EQ(Check(Header("\0\0\0\0", 0x00, 0x4A), 5000), RomVerdict::WrongRegion);
}

TEST(RomCheckRegion, RegionHeaderOnAWrongLengthIsStillTheRegion) {
    EXPECT_EQ(Check(Header("OMNO", 0x00, 0x50), ROM_IMAGE_SIZE - 2), RomVerdict::WrongRegion);
}

// --- Wrong game -------------------------------------------------------------------------------

TEST(RomCheckGame, SwappedOtherVersion) {
    EXPECT_EQ(Check(Header("OMNO", 0x01, 0x45)), RomVerdict::WrongGame);
}

TEST(RomCheckGame, CodesInTheOtherOrdersPlace) {
    // A native marker with the swapped order's bytes, and the reverse.
    EXPECT_EQ(Check(Header("MOON", 0x00, 0x45)), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Header("OMNO", 0x45, 0x00)), RomVerdict::WrongGame);
    // A native file's region test reads 0x3E as the country, so 00 50 there is no region.
    EXPECT_EQ(Check(Header("MOON", 0x00, 0x50)), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Header("MOON", 0x45, 0x01)), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Header("MOON", 0x50, 0x01)), RomVerdict::WrongGame);
}

TEST(RomCheckGame, AcceptedCodesWithoutAMarker) {
    EXPECT_EQ(Check(Header("MOOM", 0x45, 0x00)), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Header("ONMO", 0x00, 0x45)), RomVerdict::WrongGame);
}

TEST(RomCheckGame, TextFile) {
    const std::string text =
        "This is a plain text file that happens to be long enough to have bytes at 0x3E.\n";
    const Bytes bytes(text.begin(), text.end());
    EXPECT_EQ(Check(bytes, bytes.size()), RomVerdict::WrongGame);
}

TEST(RomCheckGame, BadHeaderOnAWrongLengthIsTheWrongGame) {
    EXPECT_EQ(Check(Header("ABCD", 0x12, 0x34), 100), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Header("OMNO", 0x01, 0x45), ROM_IMAGE_SIZE + 1), RomVerdict::WrongGame);
}

// --- Short files: missing bytes count as 0 ------------------------------------------------------

TEST(RomCheckShortFile, MissingVersionByteReadsAsZero) {
    Bytes native = Header("MOON", 0x45, 0x00);
    native.resize(0x3F);
    // Accepted header, so only the length refuses it.
    EXPECT_EQ(Check(native, native.size()), RomVerdict::WrongSize);
    Bytes pal = Header("MOON", 0x50, 0x00);
    pal.resize(0x3F);
    EXPECT_EQ(Check(pal, pal.size()), RomVerdict::WrongRegion);
    Bytes swapped = Header("OMNO", 0x00, 0x45);
    swapped.resize(0x3F);
    EXPECT_EQ(Check(swapped, swapped.size()), RomVerdict::WrongGame);
}

TEST(RomCheckShortFile, NoMarkerRoomOrNoBytesAtAll) {
    Bytes cut = Header("OMNO", 0x00, 0x45);
    cut.resize(0x22);
    EXPECT_EQ(Check(cut, cut.size()), RomVerdict::WrongGame);
    EXPECT_EQ(Check(Bytes{}, 0), RomVerdict::WrongGame);
}

// --- Length -----------------------------------------------------------------------------------

TEST(RomCheckSize, AcceptedHeaderOfAnyOtherLength) {
    for (std::uint64_t length :
         {std::uint64_t{0x40}, std::uint64_t{ROM_IMAGE_SIZE - 1}, std::uint64_t{ROM_IMAGE_SIZE + 1},
          std::uint64_t{ROM_IMAGE_SIZE} * 2, std::uint64_t{1} << 40}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(Check(Header("MOON", 0x45, 0x00), length), RomVerdict::WrongSize);
        EXPECT_EQ(Check(Header("OMNO", 0x00, 0x45), length), RomVerdict::WrongSize);
    }
}

// --- Files ------------------------------------------------------------------------------------

TEST(RomCheckPath, MissingFoldersAndFiles) {
    TempFolder folder;
    EXPECT_EQ(CheckRomPath(folder / "missing.rom").verdict, RomVerdict::NotFound);
    EXPECT_EQ(CheckRomPath(folder.Path()).verdict, RomVerdict::NotAFile);
    const Bytes small = Header("OMNO", 0x00, 0x45);
    const RomFileCheck check = CheckRomPath(folder.Write("small.rom", small));
    EXPECT_EQ(check.verdict, RomVerdict::WrongSize);
    EXPECT_EQ(check.length, small.size());
}
