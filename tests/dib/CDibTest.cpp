#include "dib/CDib.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The fields of a bitmap file the tests vary, laid out as the file would hold them.
struct Bmp {
    std::uint32_t headerSize = 40;  // the header area is never shorter than 40 bytes
    std::int32_t width = 3, height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
    std::size_t entries = 0;  // colour table: entry i is i, 255 - i, i ^ 0x5A, 0xEE
    Bytes pixels = {};        // everything after bfOffBits

    Bytes Build() const {
        const std::uint32_t header = std::max<std::uint32_t>(headerSize, 40);
        const auto offBits = static_cast<std::uint32_t>(14 + header + 4 * entries);
        Bytes out(std::max<std::size_t>(offBits, 54));  // cut to offBits below
        auto put = [&](std::size_t at, std::uint32_t v) {
            for (std::size_t i = 0; i < 4; ++i)
                out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
        const auto size = static_cast<std::uint32_t>(offBits + pixels.size());
        // Offset, value of each field; a 2-byte field's upper half is overwritten by the next.
        const std::uint32_t fields[] = {0,  0x4D42,      2,  size,      10, offBits, 14, headerSize,
                                        18, w,           22, h,         26, 1,       28, bitCount,
                                        30, compression, 34, sizeImage, 38, 2835,    42, 2835,
                                        46, clrUsed};
        for (std::size_t f = 0; f < std::size(fields); f += 2)
            put(fields[f], fields[f + 1]);
        for (std::uint32_t i = 0; i < entries; ++i)
            put(14 + header + 4 * i, i | (255 - i) << 8 | (i ^ 0x5A) << 16 | 0xEEu << 24);
        out.resize(offBits);
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

CDib Held(const Bmp& bmp) {
    CDib dib;
    EXPECT_NE(dib.Read(bmp.Build()), 0u);
    return dib;
}

}  // namespace

// A pixel offset at the end of the file header or of the file is fine; the info block keeps
// 1024 spare bytes, the pixel block runs to the end. A failed read, an absent file and Free all
// leave the object empty, whatever it held. (A truncated file's offset runs past its end.)
TEST(CDibRead, HeldBlocksAndRefusedFiles) {
    CDib dib;
    ASSERT_EQ(dib.Read(Bytes{'B', 'M', 14, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0}), 14u);
    EXPECT_TRUE(*dib.InfoBlock() == Bytes(1024, 0) && dib.PixelBlock()->empty() && !dib.Palette());
    const Bytes valid = Bmp{.bitCount = 24, .pixels = Bytes(24)}.Build();
    std::vector<Bytes> bad(2, valid);
    bad[0][0] = 'b';
    bad[1][1] = 'N';
    for (std::uint32_t offBits : {0u, 13u, 0xFFFFFFF2u}) {
        Bytes& file = bad.emplace_back(valid);
        for (int i = 0; i < 4; ++i)
            file[10 + i] = static_cast<std::uint8_t>(offBits >> (8 * i));
    }
    const Bytes cut = Bmp{.clrUsed = 2, .entries = 2, .pixels = Bytes(8)}.Build();
    for (std::size_t length = 0; length < 14 + 40 + 8; ++length)
        bad.emplace_back(cut.begin(), cut.begin() + length);
    TempFolder folder;
    const auto held = folder.Write("h.bmp", Bmp{.entries = 256, .pixels = Bytes(11, 7)}.Build());
    for (std::size_t i = 0; i <= bad.size() + 1; ++i) {
        ASSERT_TRUE(dib.ReadFile(held) == 14 + 40 + 1024 + 11 &&
                    dib.InfoBlock()->size() == 40 + 2048 && *dib.PixelBlock() == Bytes(11, 7));
        EXPECT_EQ(i < bad.size()    ? dib.Read(bad[i])
                  : i == bad.size() ? dib.ReadFile(folder / "missing.bmp")
                                    : (dib.Free(), 0u),
                  0u);
        EXPECT_FALSE(dib.InfoBlock() || dib.PixelBlock() || dib.Palette()) << i;
    }
}

// Bit count, biClrUsed, colour-table entries in the file, palette entries (-1: none), palette
// size; the info block's 1024 spare bytes bound a huge colour count.
TEST(CDibPalette, EntriesFollowClrUsedOrBitCountWithinTheInfoBlock) {
    const std::int64_t cases[][5] = {{8, 0, 256, 256, 1024}, {8, 5, 256, 5, 20},
                                     {4, 0, 256, 16, 64},    {24, 0, 0, -1, 0},
                                     {8, 0x10000, 0, -1, 0}, {8, 0xFFFFFFFF, 3, 259, 0xFFFC}};
    for (const auto& [bits, clrUsed, entries, expected, size] : cases) {
        CDib dib = Held(Bmp{.bitCount = static_cast<std::uint16_t>(bits),
                            .clrUsed = static_cast<std::uint32_t>(clrUsed),
                            .entries = static_cast<std::size_t>(entries)});
        EXPECT_TRUE(dib.MakePalette());
        const auto count = dib.Palette() ? std::ssize(dib.Palette()->entries) : -1;
        const auto last = static_cast<std::uint32_t>(expected - 1);
        EXPECT_EQ(std::tuple(count, std::int64_t{dib.PaletteSize()}, !!dib.TableColour(last),
                             !dib.TableColour(last + 1)),
                  std::tuple(expected, size, expected > 0, true))
            << bits << " " << clrUsed;
    }
    // The palette is read at offset 40 (so its entry 1 is the table's entry 0, stored blue, green,
    // red), the drawing colours after the header's own size.
    const CDib dib = Held(Bmp{.headerSize = 44, .clrUsed = 2, .entries = 2});
    const PaletteEntry e = dib.Palette()->entries[1];
    EXPECT_EQ(std::tuple(e.red, e.green, e.blue, e.flags, dib.Palette()->version,
                         dib.TableColour(1)->green),
              std::tuple(0x5A, 255, 0, 0, 0x300, 254));
}

// Rows padded to four bytes, the computed image size written but not held; round trips; headers
// that disagree with the blocks refused: a header size below 40 or past the block, a negative
// width, a pixel short, run-length data longer than held, 64 KiB of colour table, a stride of
// 2^32 that 32-bit arithmetic makes 0.
TEST(CDibSave, PaddedRowsRoundTripsAndRefusals) {
    Bmp bmp{.clrUsed = 2, .entries = 2, .pixels = {1, 0, 1, 0, 0, 1, 0, 0, 7, 7}};
    const CDib dib = Held(bmp);
    bmp.sizeImage = 8;
    bmp.pixels.resize(8);
    EXPECT_TRUE(dib.SizeImage() == 0 && dib.Save() == bmp.Build());
    // Header size, width, height, bits, compression, image size, colours used, entries, pixels.
    for (const Bmp& b : {Bmp{108, 1, -1, 1, 0, 4, 0, 2, {0x80, 0, 0, 0}},
                         Bmp{40, 3, 2, 8, 1, 6, 0, 256, {2, 1, 1, 2, 0, 1}}})
        EXPECT_EQ(Held(b).Save(), b.Build()) << b.bitCount;
    for (const Bmp& b :
         {Bmp{39, 3, 2, 8, 0, 0, 2, 2, Bytes(8)}, Bmp{0xFFFFFFFF, 3, 2, 8, 0, 0, 2, 2, Bytes(8)},
          Bmp{40, -3, 2, 8, 0, 0, 2, 2, Bytes(8)}, Bmp{40, 3, 2, 8, 0, 0, 2, 2, Bytes(7)},
          Bmp{40, 3, 2, 8, 2, 9, 2, 2, Bytes(8)}, Bmp{40, 3, 2, 8, 0, 0, 0x3FFF, 2, Bytes(8)},
          Bmp{40, 0x40000000, 2, 32, 0, 0, 2, 2, Bytes(8)}})
        EXPECT_TRUE(Held(b).Save().empty()) << b.headerSize << " " << b.width;
}
