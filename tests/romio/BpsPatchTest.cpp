#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "romio/BpsPatch.h"
#include "romio/PatchPairs.h"

namespace {

using patch_pairs::Bytes;
using patch_pairs::Join;
using patch_pairs::Source;
constexpr std::uint64_t SIZE = ROM_IMAGE_SIZE;

std::uint32_t Crc(const Bytes& bytes) {
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

// A number: 7 bits a byte, low first, high bit on the last, one less carried per byte.
Bytes Number(std::uint64_t value) {
    Bytes out;
    for (; value >= 0x80; value = (value >> 7) - 1) {
        out.push_back(value & 0x7F);
    }
    out.push_back(static_cast<std::uint8_t>(value | 0x80));
    return out;
}

// Actions: the command number (length - 1) << 2 | kind, then a TargetRead's bytes or a copy's
// relative move (magnitude << 1 | 1 when backwards).
Bytes SourceRead(std::uint64_t length) {
    return Number((length - 1) << 2 | 0);
}
Bytes TargetRead(const Bytes& bytes) {
    return Join({Number((bytes.size() - 1) << 2 | 1), bytes});
}
Bytes Copy(int kind, std::uint64_t length, std::int64_t move) {
    const std::uint64_t magnitude = move < 0 ? 0 - static_cast<std::uint64_t>(move) : move;
    return Join({Number((length - 1) << 2 | kind), Number(magnitude << 1 | (move < 0))});
}
Bytes SourceCopy(std::uint64_t length, std::int64_t move) {
    return Copy(2, length, move);
}
Bytes TargetCopy(std::uint64_t length, std::int64_t move) {
    return Copy(3, length, move);
}

// The plain reading of the format, for patches known to be well formed: footer ignored.
Bytes ReferenceApply(const Bytes& patch, const Bytes& source) {
    std::size_t p = 4;
    auto number = [&] {
        std::uint64_t data = 0;
        for (std::uint64_t shift = 1;; shift <<= 7) {
            const std::uint8_t x = patch.at(p++);
            data += (x & 0x7F) * shift;
            if (x & 0x80) {
                return data;
            }
            data += shift << 7;
        }
    };
    number();
    Bytes target(number());
    p += number();
    std::uint64_t out = 0, sourceAt = 0, targetAt = 0;
    while (p < patch.size() - 12) {
        const std::uint64_t command = number();
        const std::uint64_t kind = command & 3;
        const std::uint64_t move = kind >= 2 ? number() : 0;
        std::uint64_t& at = kind == 2 ? sourceAt : targetAt;
        at += move & 1 ? -(move >> 1) : move >> 1;
        for (std::uint64_t i = 0; i <= command >> 2; ++i, ++out) {
            target.at(out) = kind == 0   ? source.at(out)
                             : kind == 1 ? patch.at(p++)
                             : kind == 2 ? source.at(at++)
                                         : target.at(at++);
        }
    }
    return target;
}

// A patch for `source` with the given sizes, metadata and actions, and correct checksums (the
// target's as the reference makes it, or 0 when it cannot) unless `wrong` names one to spoil:
// 0 source, 1 target, 2 patch.
Bytes MakePatch(const Bytes& actions, std::uint64_t sourceSize = SIZE,
                std::uint64_t targetSize = SIZE, const Bytes& metadata = {}, int wrong = -1,
                const Bytes& source = Source()) {
    Bytes patch = Join({{'B', 'P', 'S', '1'}, Number(sourceSize), Number(targetSize)});
    patch = Join({patch, Number(metadata.size()), metadata, actions});
    std::uint32_t crcs[3] = {Crc(source), 0, 0};
    try {
        crcs[1] = Crc(ReferenceApply(Join({patch, Bytes(12)}), source));
    } catch (const std::out_of_range&) {
    }
    for (int i = 0; i < 3; ++i) {
        crcs[2] = Crc(patch);
        crcs[i] ^= wrong == i ? 0x10000 : 0;
        for (int b = 0; b < 4; ++b) {
            patch.push_back(static_cast<std::uint8_t>(crcs[i] >> (8 * b)));  // little-endian
        }
    }
    return patch;
}

// Every action kind, copies moving both ways, a TargetCopy overlapping its output (a run).
const Bytes ALL_ACTIONS =
    Join({TargetRead({1, 2, 3, 4}),  // target 0..3
          SourceCopy(4, 0x1000),     // target 4..7 = source 0x1000..; source offset 0x1004
          SourceCopy(4, -0x800),     // target 8..11 = source 0x804..
          TargetCopy(4, 1),          // target 12..15 = target 1..4
          TargetCopy(3, -3),         // target 16..18 = target 2..4
          TargetRead({9}),           // target 19
          TargetCopy(10, 14),        // target 20..29 = 9, from target 19 one behind itself
          SourceRead(SIZE - 30)});

}  // namespace

TEST(BpsRoundTrip, EveryPairAppliesToItsTarget) {
    for (const patch_pairs::Pair& pair : patch_pairs::Pairs()) {
        const Bytes target = patch_pairs::Target(pair);
        const Bytes patch = MakeBpsPatch(Source(), target);
        const BpsApplyResult applied = ApplyBpsPatch(patch, Source());
        EXPECT_EQ(applied.code, BpsCode::Ok) << pair.name;
        EXPECT_TRUE(applied.image == target) << pair.name;
        EXPECT_TRUE(ReferenceApply(patch, Source()) == target) << pair.name;
        // Header and footer as the test builds them, zlib computing the checksums.
        const std::size_t head = 4 + 2 * Number(SIZE).size() + 1;
        EXPECT_EQ(patch, MakePatch(Bytes(patch.begin() + head, patch.end() - 12))) << pair.name;
        // Runs copied from the target, not spelled out.
        EXPECT_TRUE(pair.name != "runs" || patch.size() < 200);
    }
    EXPECT_TRUE(MakeBpsPatch(Source(), Bytes(16)).empty());
}

TEST(BpsApply, AllFourActions) {
    const BpsApplyResult applied = ApplyBpsPatch(MakePatch(ALL_ACTIONS), Source());
    ASSERT_EQ(applied.code, BpsCode::Ok);
    const Bytes& s = Source();
    const Bytes head = {
        1,        2,        3, 4, s[0x1000], s[0x1001], s[0x1002], s[0x1003], s[0x804],  s[0x805],
        s[0x806], s[0x807], 2, 3, 4,         s[0x1000], 3,         4,         s[0x1000], 9,
        9,        9,        9, 9, 9,         9,         9,         9,         9,         9};
    EXPECT_TRUE(Bytes(applied.image.begin(), applied.image.begin() + 30) == head);
    EXPECT_TRUE(std::equal(s.begin() + 30, s.end(), applied.image.begin() + 30));
    const Bytes metadata = {'<', 'x', '/', '>'};
    EXPECT_EQ(ApplyBpsPatch(MakePatch(ALL_ACTIONS, SIZE, SIZE, metadata), s).image, applied.image);
}

TEST(BpsApply, EveryFaultIsRefusedWithItsCode) {
    const Bytes over = {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x81};
    struct Case {
        Bytes patch;
        BpsCode code;
    };
    const std::vector<Case> cases = {
        {{}, BpsCode::NotBps},
        {{'B', 'P', 'S', '2', 0x80, 0x80, 0x80}, BpsCode::NotBps},
        {Bytes{'B', 'P', 'S', '1', 0x80, 0x80, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         BpsCode::TooShort},
        {MakePatch(over), BpsCode::NumberOverflow},  // 10-byte action number past 2^64
        {MakePatch(Bytes(10, 0)), BpsCode::NumberOverflow},
        {Join({{'B', 'P', 'S', '1'}, over, Bytes(14)}), BpsCode::NumberOverflow},
        {MakePatch(Join({SourceRead(SIZE - 1), {0x00}})), BpsCode::NumberCutShort},
        {MakePatch({0x82}), BpsCode::NumberCutShort},  // a SourceCopy without its move
        {MakePatch({}, SIZE - 1), BpsCode::WrongSourceSize},
        {MakePatch({}, 0), BpsCode::WrongSourceSize},
        {MakePatch({}, SIZE, SIZE * 2), BpsCode::WrongTargetSize},
        {Join({{'B', 'P', 'S', '1'}, Number(SIZE), Number(SIZE), Number(1), Bytes(12)}),
         BpsCode::MetadataCutShort},
        {MakePatch(SourceRead(SIZE + 1)), BpsCode::PastTargetEnd},
        {MakePatch(Join({SourceRead(SIZE - 1), TargetRead({1, 2})})), BpsCode::PastTargetEnd},
        {MakePatch(Join({SourceRead(10), SourceCopy(SIZE - 10, 11)})), BpsCode::PastSourceEnd},
        {MakePatch(SourceCopy(1, -1)), BpsCode::PastSourceEnd},
        {MakePatch(SourceCopy(1, SIZE + 1)), BpsCode::PastSourceEnd},
        {MakePatch(Join({SourceRead(SIZE - 100), Number(99 << 2 | 1), Bytes(99)})),
         BpsCode::PastPatchEnd},
        {MakePatch(TargetCopy(1, 0)), BpsCode::TargetCopyNotWritten},
        {MakePatch(Join({TargetRead({1, 2}), TargetCopy(1, 2)})), BpsCode::TargetCopyNotWritten},
        {MakePatch(Join({TargetRead({1, 2}), TargetCopy(1, -1)})), BpsCode::TargetCopyNotWritten},
        {MakePatch({}), BpsCode::TargetNotFilled},
        {MakePatch(SourceRead(SIZE - 1)), BpsCode::TargetNotFilled},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 2), BpsCode::PatchChecksumMismatch},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 0), BpsCode::SourceChecksumMismatch},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 1), BpsCode::TargetChecksumMismatch},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const BpsApplyResult applied = ApplyBpsPatch(cases[i].patch, Source());
        EXPECT_EQ(applied.code, cases[i].code) << "case " << i;
        EXPECT_TRUE(applied.image.empty()) << "case " << i;
    }
    EXPECT_EQ(ApplyBpsPatch(MakePatch({}), Bytes(SIZE - 2)).code, BpsCode::SourceWrongSize);
    EXPECT_EQ(ApplyBpsPatch(MakePatch({}, SIZE - 1), Source()).size, SIZE - 1);
}

TEST(BpsApply, SourceChecksumMismatchNamesBothAndTheOtherOrder) {
    const BpsApplyResult wrong = ApplyBpsPatch(MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 0), Source());
    EXPECT_EQ(wrong.expectedCrc, Crc(Source()) ^ 0x10000);
    EXPECT_EQ(wrong.actualCrc, Crc(Source()));
    EXPECT_FALSE(wrong.matchesOtherByteOrder);
    // A patch made for the swapped image, given the native one.
    const Bytes swapped = rom_test::Swapped(Source());
    const BpsApplyResult other =
        ApplyBpsPatch(MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, -1, swapped), Source());
    EXPECT_EQ(other.code, BpsCode::SourceChecksumMismatch);
    EXPECT_EQ(other.expectedCrc, Crc(swapped));
    EXPECT_TRUE(other.matchesOtherByteOrder);
}
