#include <gtest/gtest.h>

#include "io/RomImage.h"
#include "romio/IpsPatch.h"
#include "romio/PatchFormat.h"
#include "romio/PatchPairs.h"

namespace {

using namespace patch_pairs;

Bytes BigEndian(std::size_t value, int width) {
    Bytes out(width);
    for (int i = 0; i < width; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
    return out;
}

const Bytes HEADER = {'P', 'A', 'T', 'C', 'H'}, END = {'E', 'O', 'F'};

// Offset (3 bytes), length (2 bytes), the bytes; a run: length 0, count (2 bytes), value.
Bytes Literal(std::uint32_t offset, const Bytes& data) {
    return Join({BigEndian(offset, 3), BigEndian(data.size(), 2), data});
}
Bytes RunRecord(std::uint32_t offset, std::uint32_t count, std::uint8_t value) {
    return Join({BigEndian(offset, 3), BigEndian(0, 2), BigEndian(count, 2), {value}});
}

// The plain reading of the format, for patches known to be well formed.
Bytes ReferenceApply(const Bytes& patch, Bytes image) {
    std::size_t p = 5;
    auto field = [&](int width) {
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i) {
            v = v << 8 | patch.at(p++);
        }
        return v;
    };
    while (Bytes(patch.begin() + p, patch.begin() + p + 3) != END) {
        const std::uint32_t offset = field(3), length = field(2);
        const std::uint32_t count = length == 0 ? field(2) : length;
        for (std::uint32_t i = 0; i < count; ++i) {
            image.at(offset + i) = patch.at(length == 0 ? p : p + i);
        }
        p += length == 0 ? 1 : length;
    }
    return image;
}

}  // namespace

TEST(IpsRoundTrip, EveryPairAppliesToItsTarget) {
    for (const Pair& pair : Pairs()) {
        const Bytes target = Target(pair);
        const Bytes patch = MakeIpsPatch(Source(), target);
        EXPECT_EQ(DetectPatchFormat(patch), PatchFormat::Ips) << pair.first;
        const IpsApplyResult applied = ApplyIpsPatch(patch, Source());
        EXPECT_EQ(applied.code, IpsCode::Ok) << pair.first;
        EXPECT_TRUE(applied.image == target && ReferenceApply(patch, Source()) == target)
            << pair.first;
        EXPECT_TRUE(pair.first != "runs" || patch.size() < 100);  // run records, not literals
    }
    EXPECT_EQ(DetectPatchFormat(Bytes{'B', 'P', 'S', '1'}), PatchFormat::Bps);
    EXPECT_EQ(DetectPatchFormat(Bytes{'B', 'P', 'S', '2'}), PatchFormat::Custom);
}

TEST(IpsApply, HandBuiltPatchesGiveTheirCodes) {
    const Bytes one = Literal(0x10, {1, 2, 3, 4});
    const std::uint32_t SIZE = ROM_IMAGE_SIZE;
    const std::vector<std::pair<Bytes, IpsCode>> cases = {
        // Later records win; a run; the last byte; a truncation field equal to the size.
        {Join({HEADER, Literal(0x100, {1, 2}), RunRecord(0x101, 3, 9), Literal(SIZE - 1, {7}), END,
               BigEndian(SIZE, 3)}),
         IpsCode::Ok},
        {{'P', 'A', 'T', 'C', 'X', 'E', 'O', 'F'}, IpsCode::NotIps},
        {Join({HEADER, Bytes(one.begin(), one.end() - 1)}), IpsCode::RecordCutShort},
        {Join({HEADER, BigEndian(0x10, 3), BigEndian(0, 2), BigEndian(4, 2)}),
         IpsCode::RecordCutShort},
        {Join({HEADER, Literal(SIZE - 1, {1, 2}), END}), IpsCode::RecordOutsideImage},
        {Join({HEADER, one, {'E', 'O'}}), IpsCode::MissingEof},
        {Join({HEADER, END, BigEndian(SIZE, 3), {0}}), IpsCode::TrailingBytes},
        {Join({HEADER, Literal(0x454F46, {5}), END}), IpsCode::TrailingBytes},  // read as the end
        {Join({HEADER, END, BigEndian(SIZE - 1, 3)}), IpsCode::BadTruncationSize},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [patch, code] = cases[i];
        const IpsApplyResult applied = ApplyIpsPatch(patch, Source());
        EXPECT_EQ(applied.code, code) << "case " << i;
        EXPECT_TRUE(code == IpsCode::Ok ? applied.image == ReferenceApply(patch, Source())
                                        : applied.image.empty());
    }
    EXPECT_EQ(ApplyIpsPatch(Join({HEADER, END}), Bytes(64)).code, IpsCode::SourceWrongSize);
}
