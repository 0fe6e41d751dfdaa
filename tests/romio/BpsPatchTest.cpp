#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>

#include "io/RomImage.h"
#include "romio/BpsPatch.h"
#include "romio/PatchPairs.h"

namespace {

using namespace patch_pairs;
constexpr std::uint64_t SIZE = ROM_IMAGE_SIZE;

std::uint32_t Crc(const Bytes& bytes) {
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

// 7 bits a byte, low first, high bit on the last, one less carried per byte.
Bytes Number(std::uint64_t value) {
    Bytes out;
    for (; value >= 0x80; value = (value >> 7) - 1) {
        out.push_back(value & 0x7F);
    }
    out.push_back(static_cast<std::uint8_t>(value | 0x80));
    return out;
}

// Command (length - 1) << 2 | kind, then TargetRead bytes or a copy's move (magnitude << 1 | back).
Bytes Act(int kind, std::uint64_t length, std::int64_t move = 0, const Bytes& bytes = {}) {
    const std::uint64_t magnitude = move < 0 ? 0 - static_cast<std::uint64_t>(move) : move;
    const Bytes tail = kind >= 2 ? Number(magnitude << 1 | (move < 0)) : bytes;
    return Join({Number((length - 1) << 2 | kind), tail});
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
    Bytes target((number(), number()));  // the source size, then the target size
    p += number();
    std::uint64_t out = 0, sourceAt = 0, targetAt = 0;
    while (p < patch.size() - 12) {
        const std::uint64_t command = number(), kind = command & 3;
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

// A patch with these sizes, metadata and actions, and correct checksums (the target's as the
// reference makes it, or 0) unless `wrong` spoils one: 0 source, 1 target, 2 patch.
Bytes MakePatch(const Bytes& actions, std::uint64_t sourceSize = SIZE,
                std::uint64_t targetSize = SIZE, const Bytes& metadata = {}, int wrong = -1,
                const Bytes& source = Source()) {
    Bytes patch = Join({{'B', 'P', 'S', '1'},
                        Number(sourceSize),
                        Number(targetSize),
                        Number(metadata.size()),
                        metadata,
                        actions});
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
    Join({Act(1, 4, 0, {1, 2, 3, 4}), Act(2, 4, 0x1000), Act(2, 4, -0x800), Act(3, 4, 1),
          Act(3, 3, -3), Act(1, 1, 0, {9}), Act(3, 10, 14), Act(0, SIZE - 30)});

}  // namespace

TEST(BpsRoundTrip, EveryPairAppliesToItsTarget) {
    for (const Pair& pair : Pairs()) {
        const Bytes target = Target(pair);
        const Bytes patch = MakeBpsPatch(Source(), target);
        const BpsApplyResult applied = ApplyBpsPatch(patch, Source());
        EXPECT_EQ(applied.code, BpsCode::Ok) << pair.first;
        EXPECT_TRUE(applied.image == target && ReferenceApply(patch, Source()) == target)
            << pair.first;
        // Header and footer as the test builds them, zlib computing the checksums.
        const std::size_t head = 4 + 2 * Number(SIZE).size() + 1;
        EXPECT_EQ(patch, MakePatch(Bytes(patch.begin() + head, patch.end() - 12))) << pair.first;
        EXPECT_TRUE(pair.first != "runs" || patch.size() < 200);  // runs copied, not spelled out
    }
}

TEST(BpsApply, HandBuiltPatchesGiveTheirCodes) {
    const Bytes& s = Source();
    const std::vector<std::pair<Bytes, BpsCode>> cases = {
        {MakePatch(ALL_ACTIONS), BpsCode::Ok},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {'<', 'x', '/', '>'}), BpsCode::Ok},
        {{'B', 'P', 'S', '2', 0x80, 0x80, 0x80}, BpsCode::NotBps},
        {Join({{'B', 'P', 'S', '1', 0x80, 0x80, 0x80}, Bytes(11)}), BpsCode::TooShort},
        {MakePatch({0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x81}),
         BpsCode::NumberOverflow},  // 10-byte number past 2^64
        {MakePatch(Bytes(10, 0)), BpsCode::NumberOverflow},
        {MakePatch({0x82}), BpsCode::NumberCutShort},  // a SourceCopy without its move
        {MakePatch({}, SIZE - 1), BpsCode::WrongSourceSize},
        {MakePatch({}, SIZE, SIZE * 2), BpsCode::WrongTargetSize},
        {Join({{'B', 'P', 'S', '1'}, Number(SIZE), Number(SIZE), Number(1), Bytes(12)}),
         BpsCode::MetadataCutShort},
        {MakePatch(Join({Act(0, SIZE - 1), Act(1, 2, 0, {1, 2})})), BpsCode::PastTargetEnd},
        {MakePatch(Join({Act(0, 10), Act(2, SIZE - 10, 11)})), BpsCode::PastSourceEnd},
        {MakePatch(Act(2, 1, -1)), BpsCode::PastSourceEnd},
        {MakePatch(Join({Act(0, SIZE - 100), Act(1, 100, 0, Bytes(99))})), BpsCode::PastPatchEnd},
        {MakePatch(Join({Act(1, 2, 0, {1, 2}), Act(3, 1, 2)})), BpsCode::TargetCopyNotWritten},
        {MakePatch(Join({Act(1, 2, 0, {1, 2}), Act(3, 1, -1)})), BpsCode::TargetCopyNotWritten},
        {MakePatch(Act(0, SIZE - 1)), BpsCode::TargetNotFilled},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 2), BpsCode::PatchChecksumMismatch},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 0), BpsCode::SourceChecksumMismatch},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, 1), BpsCode::TargetChecksumMismatch},
        {MakePatch(ALL_ACTIONS, SIZE, SIZE, {}, -1, rom_test::Swapped(s)),
         BpsCode::SourceChecksumMismatch},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [patch, code] = cases[i];
        const BpsApplyResult applied = ApplyBpsPatch(patch, s);
        EXPECT_EQ(applied.code, code) << "case " << i;
        EXPECT_TRUE(code == BpsCode::Ok ? applied.image == ReferenceApply(patch, s)
                                        : applied.image.empty())
            << "case " << i;
        EXPECT_EQ(applied.matchesOtherByteOrder, i + 1 == cases.size()) << "case " << i;
    }
    EXPECT_EQ(ApplyBpsPatch(MakePatch({}), Bytes(SIZE - 2)).code, BpsCode::SourceWrongSize);
}
