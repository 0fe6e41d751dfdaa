#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "io/RomImage.h"
#include "romio/IpsPatch.h"
#include "romio/PatchFormat.h"
#include "romio/PatchPairs.h"

namespace {

using patch_pairs::Bytes;
using patch_pairs::Join;
using patch_pairs::Source;

Bytes BigEndian(std::size_t value, int width) {
    Bytes out;
    for (int i = width - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return out;
}

const Bytes HEADER = {'P', 'A', 'T', 'C', 'H'};
const Bytes END = {'E', 'O', 'F'};

// A literal record: offset (3 bytes), length (2 bytes), the bytes.
Bytes Literal(std::uint32_t offset, const Bytes& data) {
    return Join({BigEndian(offset, 3), BigEndian(data.size(), 2), data});
}

// A run record: offset (3 bytes), length 0 (2 bytes), run length (2 bytes), value (1 byte).
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
        const std::uint32_t offset = field(3);
        const std::uint32_t length = field(2);
        const std::uint32_t count = length == 0 ? field(2) : length;
        for (std::uint32_t i = 0; i < count; ++i) {
            image.at(offset + i) = length == 0 ? patch.at(p) : patch.at(p + i);
        }
        p += length == 0 ? 1 : length;
    }
    return image;
}

}  // namespace

TEST(IpsRoundTrip, EveryPairAppliesToItsTarget) {
    for (const patch_pairs::Pair& pair : patch_pairs::Pairs()) {
        const Bytes target = patch_pairs::Target(pair);
        const Bytes patch = MakeIpsPatch(Source(), target);
        EXPECT_EQ(DetectPatchFormat(patch), PatchFormat::Ips) << pair.name;
        const IpsApplyResult applied = ApplyIpsPatch(patch, Source());
        EXPECT_EQ(applied.code, IpsCode::Ok) << pair.name;
        EXPECT_TRUE(applied.image == target) << pair.name;
        EXPECT_TRUE(ReferenceApply(patch, Source()) == target) << pair.name;
        EXPECT_TRUE(pair.name != "identical" || patch == Join({HEADER, END}));
        // Run records, not 0x30000 literal bytes.
        EXPECT_TRUE(pair.name != "runs" || patch.size() < 100);
    }
    EXPECT_TRUE(MakeIpsPatch(Source(), Bytes(16)).empty());
    EXPECT_TRUE(MakeIpsPatch(Bytes(ROM_IMAGE_SIZE + 1), Source()).empty());
}

TEST(IpsApply, WellFormedPatchesAreApplied) {
    const Bytes patch = Join({HEADER, Literal(0x100, {1, 2}), RunRecord(0x101, 3, 9),
                              Literal(ROM_IMAGE_SIZE - 1, {7}), END, BigEndian(ROM_IMAGE_SIZE, 3)});
    const IpsApplyResult applied = ApplyIpsPatch(patch, Source());
    ASSERT_EQ(applied.code, IpsCode::Ok);
    Bytes expected = Source();
    expected[0x100] = 1;
    expected[0x101] = expected[0x102] = expected[0x103] = 9;  // the later record wins
    expected[ROM_IMAGE_SIZE - 1] = 7;
    EXPECT_TRUE(applied.image == expected);
}

TEST(IpsApply, EveryFaultIsRefusedWithItsCode) {
    const Bytes one = Literal(0x10, {1, 2, 3, 4});
    struct Case {
        Bytes patch;
        IpsCode code;
    };
    const std::vector<Case> cases = {
        {{}, IpsCode::NotIps},
        {{'P', 'A', 'T', 'C'}, IpsCode::NotIps},
        {{'P', 'A', 'T', 'C', 'X', 'E', 'O', 'F'}, IpsCode::NotIps},
        // Records that end with the file.
        {Join({HEADER, BigEndian(0x10, 3)}), IpsCode::RecordCutShort},
        {Join({HEADER, Bytes(one.begin(), one.end() - 1)}), IpsCode::RecordCutShort},
        {Join({HEADER, BigEndian(0x10, 3), BigEndian(0, 2), BigEndian(4, 2)}),
         IpsCode::RecordCutShort},
        // Records past the image.
        {Join({HEADER, Literal(ROM_IMAGE_SIZE - 1, {1, 2}), END}), IpsCode::RecordOutsideImage},
        {Join({HEADER, RunRecord(ROM_IMAGE_SIZE - 2, 3, 0), END}), IpsCode::RecordOutsideImage},
        {Join({HEADER, Literal(0xFFFFFF, {1}), END}), IpsCode::RecordOutsideImage},
        // No end marker.
        {HEADER, IpsCode::MissingEof},
        {Join({HEADER, one}), IpsCode::MissingEof},
        {Join({HEADER, one, {'E', 'O'}}), IpsCode::MissingEof},
        // After the end marker.
        {Join({HEADER, END, {0}}), IpsCode::TrailingBytes},
        {Join({HEADER, END, BigEndian(ROM_IMAGE_SIZE, 3), {0}}), IpsCode::TrailingBytes},
        {Join({HEADER, END, END, one}), IpsCode::TrailingBytes},
        {Join({HEADER, END, BigEndian(ROM_IMAGE_SIZE - 1, 3)}), IpsCode::BadTruncationSize},
        {Join({HEADER, one, END, BigEndian(0x1000000 - 1, 3)}), IpsCode::BadTruncationSize},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const IpsApplyResult applied = ApplyIpsPatch(cases[i].patch, Source());
        EXPECT_EQ(applied.code, cases[i].code) << "case " << i;
        EXPECT_TRUE(applied.image.empty()) << "case " << i;
    }
    EXPECT_EQ(ApplyIpsPatch(Join({HEADER, END}), Bytes(64)).code, IpsCode::SourceWrongSize);
    EXPECT_EQ(ApplyIpsPatch(Join({HEADER, END, BigEndian(0x123456, 3)}), Source()).truncationSize,
              0x123456u);
}

TEST(PatchFormatDetection, ByFirstBytes) {
    EXPECT_EQ(DetectPatchFormat(Join({HEADER, END})), PatchFormat::Ips);
    EXPECT_EQ(DetectPatchFormat(Bytes{'B', 'P', 'S', '1'}), PatchFormat::Bps);
    EXPECT_EQ(DetectPatchFormat(Bytes{'P', 'A', 'T', 'C'}), PatchFormat::Custom);
    EXPECT_EQ(DetectPatchFormat(Bytes{'B', 'P', 'S', '2'}), PatchFormat::Custom);
    EXPECT_EQ(DetectPatchFormat(Bytes{0, 0, 0, 0}), PatchFormat::Custom);
    EXPECT_EQ(DetectPatchFormat(Bytes{}), PatchFormat::Custom);
}
