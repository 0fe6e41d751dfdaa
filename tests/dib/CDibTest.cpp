#include "dib/CDib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The fields of a bitmap file that the tests vary; Build() lays them out as the file would.
struct TestBitmap {
    std::uint32_t headerSize = 40;  // biSize; the header area is never shorter than 40 bytes
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    Bytes table = {};   // colour table: blue, green, red, reserved per entry
    Bytes pixels = {};  // everything after bfOffBits, trailing bytes included

    Bytes Build() const {
        Bytes out;
        auto put = [&out](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        };
        const auto header = std::max<std::uint32_t>(headerSize, 40);
        const auto offBits = static_cast<std::uint32_t>(14 + header + table.size());
        put('B' | 'M' << 8, 2);                                       // bfType
        put(static_cast<std::uint32_t>(offBits + pixels.size()), 4);  // bfSize
        put(0, 4);                                                    // bfReserved1, bfReserved2
        put(offBits, 4);                                              // bfOffBits
        put(headerSize, 4);                                           // biSize
        put(static_cast<std::uint32_t>(width), 4);                    // biWidth
        put(static_cast<std::uint32_t>(height), 4);                   // biHeight
        put(1, 2);                                                    // biPlanes
        put(bitCount, 2);                                             // biBitCount
        put(compression, 4);                                          // biCompression
        put(sizeImage, 4);                                            // biSizeImage
        put(2835, 4);                                                 // biXPelsPerMeter
        put(2835, 4);                                                 // biYPelsPerMeter
        put(clrUsed, 4);                                              // biClrUsed
        put(0, 4);                                                    // biClrImportant
        out.resize(14 + header, 0);                                   // longer header's fields
        out.insert(out.end(), table.begin(), table.end());
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// Colour table whose entry i has distinct blue, green and red, and a non-zero reserved byte.
Bytes Table(std::size_t entries) {
    Bytes table;
    for (std::size_t i = 0; i < entries; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        table.insert(table.end(), {v, static_cast<std::uint8_t>(255 - v),
                                   static_cast<std::uint8_t>(v ^ 0x5A), 0xEE});
    }
    return table;
}

void ExpectEmpty(CDib& dib) {
    EXPECT_FALSE(dib.IsHeld() || dib.InfoBlock() || dib.PixelBlock() || dib.Palette());
    EXPECT_EQ(dib.PaletteSize(), 0);
    EXPECT_FALSE(dib.MakePalette());
    EXPECT_TRUE(dib.Save().empty());
}

// A CDib that has read `bmp`; the read must succeed.
CDib Held(const TestBitmap& bmp) {
    CDib dib;
    const Bytes file = bmp.Build();
    EXPECT_EQ(dib.Read(file), file.size());
    return dib;
}

}  // namespace

TEST(CDibRead, HoldsInfoAndPixelBlocksWithTrailingBytes) {
    const TestBitmap bmp{.height = -2, .table = Table(256), .pixels = Bytes(11, 0x77)};
    const Bytes file = bmp.Build();
    const CDib dib = Held(bmp);
    ASSERT_TRUE(dib.IsHeld());
    const Bytes& info = *dib.InfoBlock();
    ASSERT_EQ(info.size(), 40u + 1024 + 1024);
    EXPECT_TRUE(std::equal(file.begin() + 14, file.end() - 11, info.begin()));
    EXPECT_TRUE(std::all_of(info.end() - 1024, info.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(*dib.PixelBlock(), bmp.pixels);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), -2);
    EXPECT_EQ(dib.BitCount(), 8);
}

TEST(CDibRead, PixelOffsetMayBeTheFileHeaderEndOrTheFileEnd) {
    CDib dib;
    ASSERT_EQ(dib.Read(Bytes{'B', 'M', 14, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0}), 14u);
    EXPECT_EQ(*dib.InfoBlock(), Bytes(1024, 0));
    EXPECT_TRUE(dib.PixelBlock()->empty() && !dib.Palette());
    EXPECT_TRUE(Held(TestBitmap{.bitCount = 24}).PixelBlock()->empty());
}

TEST(CDibRead, ReadReplacesAndFailureOrFreeEmpties) {
    CDib dib = Held(TestBitmap{.table = Table(256), .pixels = Bytes(8)});
    const Bytes second = TestBitmap{.width = 7, .bitCount = 24, .pixels = Bytes(48)}.Build();
    ASSERT_NE(dib.Read(second), 0u);
    EXPECT_EQ(dib.Width(), 7);
    EXPECT_FALSE(dib.Palette());
    EXPECT_EQ(dib.Read(Bytes(20, 'B')), 0u);
    ExpectEmpty(dib);
    ASSERT_NE(dib.Read(second), 0u);
    dib.Free();
    ExpectEmpty(dib);
}

TEST(CDibRead, ReadFileReadsFromDisk) {
    TempFolder folder;
    const Bytes file = TestBitmap{.bitCount = 24, .sizeImage = 24, .pixels = Bytes(24, 3)}.Build();
    CDib dib;
    EXPECT_EQ(dib.ReadFile(folder.Write("a.bmp", file)), file.size());
    EXPECT_EQ(dib.Save(), file);
    EXPECT_EQ(dib.ReadFile(folder / "missing.bmp"), 0u);
    ExpectEmpty(dib);
}

TEST(CDibRefusedHeaders, CutBeforeThePixelOffset) {
    const Bytes file = TestBitmap{.clrUsed = 2, .table = Table(2), .pixels = Bytes(8)}.Build();
    for (std::size_t length = 0; length < 14 + 40 + 8; ++length) {
        CDib dib;
        EXPECT_EQ(dib.Read({file.data(), length}), 0u) << length;
        EXPECT_FALSE(dib.IsHeld()) << length;
    }
}

TEST(CDibRefusedHeaders, WrongSignatureOrPixelOffsetOutsideTheFile) {
    const Bytes valid = TestBitmap{.bitCount = 24, .pixels = Bytes(24)}.Build();
    std::vector<Bytes> bad(3, valid);
    bad[0][0] = 'b';
    bad[1][1] = 'N';
    std::swap(bad[2][0], bad[2][1]);
    const auto length = static_cast<std::uint32_t>(valid.size());
    for (std::uint32_t offBits : {0u, 13u, length + 1, 0xFFFFFFF2u, 0xFFFFFFFFu}) {
        Bytes& file = bad.emplace_back(valid);
        for (int i = 0; i < 4; ++i) {
            file[10 + i] = static_cast<std::uint8_t>(offBits >> (8 * i));
        }
    }
    for (std::size_t i = 0; i < bad.size(); ++i) {
        CDib dib;
        EXPECT_EQ(dib.Read(bad[i]), 0u) << i;
        EXPECT_FALSE(dib.IsHeld()) << i;
    }
}

TEST(CDibPalette, ColourCountFollowsClrUsedOrTheBitCount) {
    for (auto [bits, clrUsed, entries] :
         {std::tuple{8, 0u, 256}, {8, 5u, 5}, {4, 0u, 16}, {1, 0u, 2}}) {
        const CDib dib = Held(TestBitmap{
            .bitCount = static_cast<std::uint16_t>(bits), .clrUsed = clrUsed, .table = Table(256)});
        ASSERT_TRUE(dib.Palette());
        EXPECT_EQ(dib.Palette()->version, 0x300);
        ASSERT_EQ(dib.Palette()->entries.size(), static_cast<std::size_t>(entries));
        EXPECT_EQ(dib.PaletteSize(), 4 * entries);
        const PaletteEntry last = dib.Palette()->entries.back();
        const auto v = static_cast<std::uint8_t>(entries - 1);
        EXPECT_TRUE(last.red == (v ^ 0x5A) && last.green == 255 - v && last.blue == v) << bits;
        EXPECT_EQ(last.flags, 0);
    }
}

TEST(CDibPalette, NoColourTableGivesNoPalette) {
    for (const TestBitmap& bmp :
         {TestBitmap{.bitCount = 24}, TestBitmap{.bitCount = 16}, TestBitmap{.clrUsed = 0x10000}}) {
        CDib dib = Held(bmp);
        EXPECT_TRUE(dib.MakePalette());
        EXPECT_FALSE(dib.Palette());
        EXPECT_EQ(dib.PaletteSize(), 0);
    }
}

TEST(CDibPalette, HugeClrUsedIsClampedToTheInfoBlock) {
    const CDib dib = Held(TestBitmap{.clrUsed = 0xFFFFFFFF, .table = Table(3)});
    // 12 table bytes plus the 1024 spare ones hold 259 entries.
    EXPECT_EQ(dib.Palette()->entries.size(), 259u);
    EXPECT_EQ(dib.PaletteSize(), 0xFFFC);
    EXPECT_TRUE(dib.TableColour(258));
    EXPECT_FALSE(dib.TableColour(259));
}

TEST(CDibPalette, PaletteStartsAtOffset40AndTableColourAfterTheHeader) {
    const CDib dib = Held(TestBitmap{.headerSize = 44, .clrUsed = 2, .table = Table(2)});
    EXPECT_EQ(dib.Palette()->entries[0].green, 0);
    EXPECT_EQ(dib.Palette()->entries[1].green, 255);
    EXPECT_EQ(dib.TableColour(0)->green, 255);
    EXPECT_EQ(dib.TableColour(1)->green, 254);
    EXPECT_FALSE(dib.TableColour(2));
}

TEST(CDibSave, PadsRowsToFourBytesAndRewritesSizeImage) {
    TestBitmap bmp{.clrUsed = 2, .table = Table(2), .pixels = {1, 0, 1, 0, 0, 1, 0, 0, 7, 7}};
    const CDib dib = Held(bmp);
    EXPECT_EQ(dib.RowStride(), 4u);
    bmp.sizeImage = 8;
    bmp.pixels.resize(8);
    EXPECT_EQ(dib.Save(), bmp.Build());
    EXPECT_EQ(dib.SizeImage(), 0u);
}

TEST(CDibSave, RoundTripIsByteExact) {
    for (const TestBitmap& bmp :
         {TestBitmap{.width = 5,
         .height = 3,
         .bitCount = 4,
         .sizeImage = 12,
         .table = Table(16),
         .pixels = Bytes(12, 0x21)},
          TestBitmap{
              .width = 2, .height = -2, .bitCount = 24, .sizeImage = 16, .pixels = Bytes(16, 0x42)},
          TestBitmap{.headerSize = 108,
          .width = 1,
          .height = 1,
          .bitCount = 1,
          .sizeImage = 4,
          .table = Table(2),
          .pixels = {0x80, 0, 0, 0}},
          TestBitmap{.compression = 1,
          .sizeImage = 6,
          .table = Table(256),
          .pixels = {2, 1, 1, 2, 0, 1}}}) {
        EXPECT_EQ(Held(bmp).Save(), bmp.Build()) << bmp.bitCount;
    }
}

TEST(CDibSave, RefusesHeadersThatDisagreeWithTheBlocks) {
    const TestBitmap ok{.clrUsed = 2, .table = Table(2), .pixels = Bytes(8)};
    EXPECT_FALSE(Held(ok).Save().empty());
    std::vector<TestBitmap> bad(7, ok);
    bad[0].headerSize = 39;
    bad[1].headerSize = 0xFFFFFFFF;
    bad[2].width = -3;
    bad[3].pixels.resize(7);
    bad[4].compression = 2;  // run-length: biSizeImage bytes, one more than held
    bad[4].sizeImage = 9;
    bad[5].clrUsed = 0x3FFF;  // 64 KiB of colour table, the block holds 1032 bytes
    bad[6].bitCount = 32;
    bad[6].width = 0x40000000;  // stride 2^32, which 32-bit arithmetic would make 0
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_TRUE(Held(bad[i]).Save().empty()) << i;
    }
}
