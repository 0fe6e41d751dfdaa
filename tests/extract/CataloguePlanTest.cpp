// Which records make the catalogue and the rooms the image table gives them, read back with the
// editor's own room lookup.

#include "extract/CataloguePlan.h"

#include <gtest/gtest.h>

#include "catalogue/ImageTable.h"
#include "replace/TextureRoom.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

FoundRecord Record(std::uint32_t offset, std::size_t size, int width, int height, char flag) {
    FoundRecord found;
    found.offset = offset;
    found.texture.width = width;
    found.texture.height = height;
    found.texture.formatFlag = flag;
    found.texture.recordSize = size;
    return found;
}

}  // namespace

TEST(CataloguePlan, ClassesByWidthHeightAndFlag) {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const char flag = SizeClasses()[sizeClass].formatFlag[0];
        const int w = static_cast<int>(ClassWidth(sizeClass));
        const int h = static_cast<int>(ClassHeight(sizeClass));
        EXPECT_EQ(MatchSizeClass(Record(0, 0, w, h, flag).texture), sizeClass);
        const int other = MatchSizeClass(Record(0, 0, w, h, flag == 'G' ? 'N' : 'G').texture);
        EXPECT_TRUE(other == -1 || SizeClasses()[other].formatFlag[0] != flag) << sizeClass;
    }
    EXPECT_EQ(MatchSizeClass(Record(0, 0, 9, 9, 'N').texture), -1);
}

// Padding up to the next record (the last padding byte left out, so the next key is shared),
// no padding, a run of 0x00 that stops at 0xFF, a record of no class, one inside it, and padding
// to the end of the image (room cut to 0xFFFF).
TEST(CataloguePlan, RoomsReachOverPaddingOnlyAndTheTableBoundsThem) {
    Bytes image(0x20000, 0x5A);
    auto fill = [&](std::size_t from, std::size_t to, std::uint8_t b) {
        std::fill(image.begin() + from, image.begin() + to, b);
    };
    fill(0x120, 0x140, 0xFF);
    fill(0x170, 0x174, 0x00);
    fill(0x174, 0x178, 0xFF);
    fill(0x310, 0x20000, 0xFF);
    const std::vector<FoundRecord> records = {
        Record(0x100, 0x20, 8, 8, 'N'), Record(0x140, 0x20, 16, 16, 'G'),
        Record(0x160, 0x10, 8, 8, 'N'), Record(0x200, 0x20, 9, 9, 'N'),
        Record(0x208, 0x10, 8, 8, 'N'), Record(0x300, 0x10, 128, 16, 'G')};
    const CataloguePlan plan = PlanCatalogue(records, image);
    const std::vector<std::uint32_t> head = {0xFF, 0x13F, 0x160, 0x15F, 0x173, 0x2FF, 0x102FF};
    ASSERT_EQ(plan.table.size(), IMAGE_TABLE_LENGTH);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), plan.table.begin()));
    EXPECT_EQ(plan.table.back(), 0x102FFu);
    const std::optional<ImageTable> table = ImageTable{plan.table};
    const std::uint32_t rooms[] = {0x3F, 0x20, 0x13, 0xFFFF};
    ASSERT_EQ(plan.textures.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.textures[i].room, rooms[i]) << i;
        EXPECT_EQ(AvailableRoom(table, plan.textures[i].offset), rooms[i]) << i;
    }
    EXPECT_EQ(plan.perClass[0], 2u);
    EXPECT_EQ(plan.perClass[3], 1u);
    EXPECT_EQ(plan.perClass[22], 1u);
    ASSERT_EQ(plan.leftOut.size(), 2u);
    EXPECT_EQ(plan.leftOut[0].reason, LeftOutReason::NoClass);
    EXPECT_EQ(plan.leftOut[1].reason, LeftOutReason::InsideAnother);
}

// Records without padding cost two values each: the table holds 1349 of them; the rest are
// left out rather than given the default room.
TEST(CataloguePlan, TexturesTheTableCannotBoundAreLeftOut) {
    const Bytes image(0x8000, 0x5A);
    std::vector<FoundRecord> records;
    for (std::uint32_t k = 0; k < 1400; ++k) {
        records.push_back(Record(0x100 + 16 * k, 16, 8, 8, 'N'));
    }
    const CataloguePlan plan = PlanCatalogue(records, image);
    EXPECT_EQ(plan.textures.size(), 1349u);
    ASSERT_EQ(plan.leftOut.size(), 51u);
    EXPECT_EQ(plan.leftOut.front().reason, LeftOutReason::TableFull);
    EXPECT_EQ(plan.leftOut.front().offset, 0x100u + 16 * 1349);
}
