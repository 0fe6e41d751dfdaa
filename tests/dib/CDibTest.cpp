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
        const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
        const auto size = static_cast<std::uint32_t>(offBits + pixels.size());
        // Each field: value, byte count.
        const std::uint32_t fields[] = {0x4D42,     2, size,        4, 0,         4, offBits, 4,
                                        headerSize, 4, w,           4, h,         4, 1,       2,
                                        bitCount,   2, compression, 4, sizeImage, 4, 2835,    4,
                                        2835,       4, clrUsed,     4, 0,         4};
        Bytes out;
        for (std::size_t f = 0; f < std::size(fields); f += 2) {
            for (std::uint32_t i = 0; i < fields[f + 1]; ++i)
                out.push_back(static_cast<std::uint8_t>(fields[f] >> (8 * i)));
        }
        out.resize(14 + header, 0);
        for (std::size_t i = 0; i < entries; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            out.insert(out.end(), {v, static_cast<std::uint8_t>(255 - v),
                                   static_cast<std::uint8_t>(v ^ 0x5A), 0xEE});
        }
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

TEST(CDibRead, HoldsInfoBlockWithSpareBytesAndPixelsToTheEnd) {
    const Bmp bmp{.height = -2, .entries = 256, .pixels = Bytes(11, 0x77)};
    const Bytes file = bmp.Build();
    CDib dib;
    ASSERT_EQ(dib.Read(file), file.size());
    Bytes info(file.begin() + 14, file.end() - 11);
    info.resize(info.size() + 1024, 0);
    EXPECT_EQ(*dib.InfoBlock(), info);
    EXPECT_EQ(*dib.PixelBlock(), bmp.pixels);
    EXPECT_EQ(dib.Width() * 100 + dib.Height() * 10 + dib.BitCount(), 300 - 20 + 8);
    // The pixel offset may be the end of the file header or of the file.
    ASSERT_EQ(dib.Read(Bytes{'B', 'M', 14, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0}), 14u);
    EXPECT_EQ(*dib.InfoBlock(), Bytes(1024, 0));
    EXPECT_TRUE(dib.PixelBlock()->empty() && !dib.Palette());
}

// A failed read, Free and an absent file all leave the object empty, whatever it held.
TEST(CDibRead, RefusedFilesLeaveTheObjectEmpty) {
    const Bytes valid = Bmp{.bitCount = 24, .pixels = Bytes(24)}.Build();
    std::vector<Bytes> bad(4, valid);
    bad[0][0] = 'b';
    bad[1][1] = 'N';
    std::swap(bad[2][0], bad[2][1]);
    bad[3].resize(13);
    for (std::uint32_t offBits :
         {0u, 13u, static_cast<std::uint32_t>(valid.size()) + 1, 0xFFFFFFF2u}) {
        Bytes& file = bad.emplace_back(valid);
        for (int i = 0; i < 4; ++i)
            file[10 + i] = static_cast<std::uint8_t>(offBits >> (8 * i));
    }
    const Bytes cut = Bmp{.clrUsed = 2, .entries = 2, .pixels = Bytes(8)}.Build();
    for (std::size_t length = 0; length < 14 + 40 + 8; ++length)
        bad.emplace_back(cut.begin(), cut.begin() + length);
    TempFolder folder;
    for (std::size_t i = 0; i <= bad.size() + 1; ++i) {
        CDib dib = Held(Bmp{.entries = 256, .pixels = Bytes(8)});
        if (i < bad.size()) {
            EXPECT_EQ(dib.Read(bad[i]), 0u) << i;
        } else if (i == bad.size()) {
            EXPECT_EQ(dib.ReadFile(folder / "missing.bmp"), 0u);
        } else {
            dib.Free();
        }
        EXPECT_FALSE(dib.IsHeld() || dib.InfoBlock() || dib.PixelBlock() || dib.Palette()) << i;
        EXPECT_EQ(dib.PaletteSize(), 0);
        EXPECT_FALSE(dib.MakePalette());
        EXPECT_TRUE(dib.Save().empty());
    }
}

// Bit count, biClrUsed, colour-table entries in the file, palette entries (-1: none), palette
// size; the info block's 1024 spare bytes bound a huge colour count.
TEST(CDibPalette, EntriesFollowClrUsedOrBitCountWithinTheInfoBlock) {
    const std::int64_t cases[][5] = {{8, 0, 256, 256, 1024}, {8, 5, 256, 5, 20},
                                     {4, 0, 256, 16, 64},    {1, 0, 256, 2, 8},
                                     {24, 0, 0, -1, 0},      {16, 0, 0, -1, 0},
                                     {8, 0x10000, 0, -1, 0}, {8, 0xFFFFFFFF, 3, 259, 0xFFFC}};
    for (const auto& [bits, clrUsed, entries, expected, size] : cases) {
        CDib dib = Held(Bmp{.bitCount = static_cast<std::uint16_t>(bits),
                            .clrUsed = static_cast<std::uint32_t>(clrUsed),
                            .entries = static_cast<std::size_t>(entries)});
        EXPECT_TRUE(dib.MakePalette());
        const PaletteEntry last = dib.Palette() ? dib.Palette()->entries.back() : PaletteEntry{};
        EXPECT_EQ(dib.Palette() ? std::ssize(dib.Palette()->entries) : -1, expected)
            << bits << " " << clrUsed;
        EXPECT_EQ(dib.PaletteSize(), size);
        EXPECT_TRUE(expected != 256 ||
                    (last.red == (255 ^ 0x5A) && last.green == 0 && last.blue == 255 &&
                     last.flags == 0 && dib.Palette()->version == 0x300));
        EXPECT_EQ(dib.TableColour(static_cast<std::uint32_t>(expected - 1)).has_value(),
                  expected > 0);
        EXPECT_FALSE(dib.TableColour(static_cast<std::uint32_t>(expected)));
    }
    // The palette is read at offset 40, the drawing colours after the header's own size.
    const CDib dib = Held(Bmp{.headerSize = 44, .clrUsed = 2, .entries = 2});
    EXPECT_EQ(dib.Palette()->entries[1].green, 255);
    EXPECT_EQ(dib.TableColour(1)->green, 254);
}

TEST(CDibSave, PaddedRowsAndRoundTrips) {
    Bmp bmp{.clrUsed = 2, .entries = 2, .pixels = {1, 0, 1, 0, 0, 1, 0, 0, 7, 7}};
    const CDib dib = Held(bmp);
    bmp.sizeImage = 8;  // rows padded to four bytes; the computed size written, not held
    bmp.pixels.resize(8);
    EXPECT_EQ(dib.Save(), bmp.Build());
    EXPECT_EQ(dib.SizeImage(), 0u);
    // Header size, width, height, bits, compression, image size, colours used, entries, pixels.
    for (const Bmp& b : {Bmp{40, 5, 3, 4, 0, 12, 0, 16, Bytes(12, 0x21)},
                         Bmp{40, 2, -2, 24, 0, 16, 0, 0, Bytes(16, 0x42)},
                         Bmp{108, 1, 1, 1, 0, 4, 0, 2, {0x80, 0, 0, 0}},
                         Bmp{40, 3, 2, 8, 1, 6, 0, 256, {2, 1, 1, 2, 0, 1}}}) {
        EXPECT_EQ(Held(b).Save(), b.Build()) << b.bitCount;
    }
    TempFolder folder;
    CDib fromFile;
    EXPECT_EQ(fromFile.ReadFile(folder.Write("a.bmp", bmp.Build())), bmp.Build().size());
    EXPECT_EQ(fromFile.Save(), bmp.Build());
}

// A header size below 40 or past the block, a negative width, a pixel short, run-length data
// longer than held, 64 KiB of colour table, a stride of 2^32 that 32-bit arithmetic makes 0.
TEST(CDibSave, HeadersThatDisagreeWithTheBlocksAreRefused) {
    EXPECT_FALSE(Held(Bmp{40, 3, 2, 8, 0, 0, 2, 2, Bytes(8)}).Save().empty());
    for (const Bmp& b :
         {Bmp{39, 3, 2, 8, 0, 0, 2, 2, Bytes(8)}, Bmp{0xFFFFFFFF, 3, 2, 8, 0, 0, 2, 2, Bytes(8)},
          Bmp{40, -3, 2, 8, 0, 0, 2, 2, Bytes(8)}, Bmp{40, 3, 2, 8, 0, 0, 2, 2, Bytes(7)},
          Bmp{40, 3, 2, 8, 2, 9, 2, 2, Bytes(8)}, Bmp{40, 3, 2, 8, 0, 0, 0x3FFF, 2, Bytes(8)},
          Bmp{40, 0x40000000, 2, 32, 0, 0, 2, 2, Bytes(8)}}) {
        EXPECT_TRUE(Held(b).Save().empty()) << b.headerSize << " " << b.width;
    }
}
