#include "romio/NewRom.h"
#include "romio/Patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "codec/TextureCompressor.h"
#include "io/ByteOrder.h"
#include "io/LittleEndian.h"
#include "io/RomImage.h"
#include "romio/RomTestSupport.h"

namespace {

using rom_test::Bytes;
using rom_test::MakeSwappedRom;
using rom_test::Swapped;
using UserRecords = std::map<std::pair<std::uint32_t, char>, Bytes>;
using Records = std::vector<PatchRecord>;

// The new image as the piece-by-piece assembly makes it: native pieces appended one after the
// other from the working ROM (each taken with CopySwappedRange: the stretch before each target,
// the replacement, and the rest), User records cut or padded with zeros to `length`, the whole
// then exchanged back to swapped order. `pending` must be sorted and free of overlaps.
Bytes PieceByPiece(const Bytes& working, const std::vector<PendingReplacement>& pending,
                   const UserRecords& userRecords) {
    Bytes native;
    auto append = [&](std::uint32_t count, std::uint32_t offset) {
        const Bytes piece = CopySwappedRange(working, count, offset);
        native.insert(native.end(), piece.begin(), piece.end());
    };
    std::uint32_t unchanged = 0;  // where the stretch before the next target starts
    for (const PendingReplacement& e : pending) {
        append(e.targetOffset - unchanged, unchanged);
        if (e.source >= USER_IMAGE_LIMIT) {
            append(e.length, e.source);
        }
        for (std::uint32_t k = 0; e.source < USER_IMAGE_LIMIT && k < e.length; ++k) {
            const Bytes& record = userRecords.at({e.source, e.formatFlag});
            native.push_back(k < record.size() ? record[k] : 0);
        }
        unchanged = e.targetOffset + e.length;
    }
    append(ROM_IMAGE_SIZE - unchanged, unchanged);
    return Swapped(native);
}

// A real record for the assembly tests, different for each bitmap u and flag: 8 x (u + 1)
// pixels of u + 2 colours, 4-bit.
UserRecord FakeUser(std::uint32_t u, char flag) {
    UserRecord user{ConvertResult::Ok, {}, "user" + std::to_string(u), {8, int(u) + 1, {}, {}}};
    for (std::uint32_t k = 0; k < u + 2; ++k) {
        user.converted.palette.push_back(static_cast<std::uint16_t>(0x0842 * (k + 1) + flag));
    }
    std::vector<std::uint32_t> words(u + 1, 0);
    for (std::uint32_t k = 0; k < 4 * (u + 1); ++k) {
        const auto byte = static_cast<std::uint8_t>((k * 3 + flag) % (u + 2) << 4 | k % (u + 2));
        user.converted.data.push_back(byte);
        words[k / 4] |= std::uint32_t{byte} << (24 - 8 * (k % 4));
    }
    user.record = CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, 8, int(u) + 1, words,
                                  user.converted.palette, int(u) + 2, std::string(1, flag));
    return user;
}

UserRecordSource FakeUserRecords(UserRecords& made) {
    return [&made](std::uint32_t u, char flag) {
        EXPECT_FALSE(made.contains({u, flag}));  // made once per bitmap and flag
        UserRecord user = FakeUser(u, flag);
        made[{u, flag}] = user.record;
        return user;
    };
}

// The record search written out step by step: positions past the end count as unchanged, and
// the rounded length is then cut at the end.
Records LiteralDiff(const Bytes& before, const Bytes& after) {
    const std::size_t n = before.size();
    auto unchanged = [&](std::size_t i) { return i >= n || before[i] == after[i]; };
    Records records;
    for (std::size_t p = 0; p < n; ++p) {
        std::size_t x = p + 1;
        while (!unchanged(p) && !(unchanged(x) && unchanged(x + 1))) {
            ++x;
        }
        if (!unchanged(p)) {
            records.push_back(
                {static_cast<std::uint32_t>(p),
                 static_cast<std::uint32_t>(std::min((x + 1 - p + 3) / 4 * 4, n - p))});
            p += records.back().length - 1;
        }
    }
    return records;
}

// A patch file with its count, its table, and blocks of the table's lengths plus `extra` bytes.
Bytes PatchFile(const Records& table, int extra = 0) {
    Bytes out;
    AppendU32(out, static_cast<std::uint32_t>(table.size()));
    std::int64_t blocks = extra;
    for (const PatchRecord& r : table) {
        AppendU32(out, r.offset);
        AppendU32(out, r.length);
        blocks += r.length;
    }
    out.resize(out.size() + static_cast<std::size_t>(blocks), 0x5A);
    return out;
}

// Replacements at even and odd targets and in the last bytes of the image.
const std::vector<PendingReplacement> PENDING = {{0x10000, 0x50000, 0x200, 'N'},
                                                 {0x10201, 0x60001, 0x33, 'N'},
                                                 {0x300003, 0x90002, 0x1001, 'G'},
                                                 {ROM_IMAGE_SIZE - 3, 0x10000, 3, 'N'}};

}  // namespace

TEST(NewRomCollect, StableByUnsignedTargetWithTheTargetClassFlagAndUnknownSources) {
    SizeClassTable table;
    auto replace = [&](int c, std::uint32_t slot, std::uint32_t target, std::uint32_t source) {
        table[c].romOffset[slot] = target;
        table[c].replacementClass[slot] = source;  // entry 0 of that class
        table[c].replacementIndex[slot] = 0;
        table[c].replacementSize[slot] = static_cast<std::uint16_t>(c + 8);
    };
    replace(3, 5, 0x80000000, 0);           // class 3 ("G"), a slot beyond its entry count
    replace(0, 0, 0x80000000, USER_CLASS);  // negative as a signed value
    replace(0, 1, 0x10000, 24);             // no class 24
    // Of equal targets, class 0's comes first as it was collected first.
    EXPECT_EQ(CollectPendingReplacements(table),
              (std::vector<PendingReplacement>{{0x10000, UNKNOWN_SOURCE, 8, 'N'},
                                               {0x80000000, 0, 8, 'N'},
                                               {0x80000000, 0x80000000, 11, 'G'}}));
}

TEST(NewRomAssembly, EqualsThePieceByPieceAssemblyOnFixedAndRandomLayouts) {
    const Bytes working = MakeSwappedRom(3);
    std::vector<std::vector<PendingReplacement>> layouts = {
        {},
        // Both ends of the image, and two textures replacing each other.
        {{0, 0x40000, 3, 'N'},
         {0x40000, 0x40801, 0x200, 'N'},
         {0x40801, 0x40000, 0x200, 'N'},
         {ROM_IMAGE_SIZE - 5, 0x60000, 5, 'N'}}};
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        std::vector<PendingReplacement>& pending = layouts.emplace_back();
        std::uint32_t next = 0x10000 + rng() % 5;
        for (int i = 0, count = 1 + static_cast<int>(rng() % 9); i < count; ++i) {
            std::uint32_t length = rng() % 4 == 0 ? 0 : 1 + rng() % 0x81;
            const std::uint32_t source = rng() % 3 == 0 ? rng() % 4 : 0x10000 + rng() % 0x100000;
            const char flag = rng() % 2 == 0 ? 'N' : 'G';
            if (source < USER_IMAGE_LIMIT && length > 0) {
                // A User record is written whole: a cut one would not read back.
                length = std::max<std::uint32_t>(length, FakeUser(source, flag).record.size());
            }
            pending.push_back({next, source, length, flag});
            // Gap of 0 to 3 bytes, sometimes the same target after a zero length.
            next += length + (length == 0 && rng() % 2 == 0 ? 0 : rng() % 4);
        }
    }
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        UserRecords made;
        const NewRomResult copied = BuildNewImage(working, layouts[i], FakeUserRecords(made));
        ASSERT_EQ(copied.image, PieceByPiece(working, layouts[i], made)) << "layout " << i;
    }
}

TEST(NewRomRefusal, EachFaultIsFoundAndNothingIsReturned) {
    const Bytes working = MakeSwappedRom(9);
    const PendingReplacement next{0x10100, 0x30000, 0x10, 'N'};
    const std::pair<std::vector<PendingReplacement>, NewRomError> cases[] = {
        {{{0x10000, 0x20000, 0x100, 'N'}, next}, NewRomError::None},  // gap 0
        {{{0x10000, 0x20000, 0x101, 'N'}, next}, NewRomError::Overlap},
        {{{0x10000, 0x20000, 1, 'N'}, {0x10000, 0x30000, 4, 'N'}}, NewRomError::Overlap},
        {{{ROM_IMAGE_SIZE - 4, 0x20000, 5, 'N'}}, NewRomError::TargetPastEnd},
        {{{0xFFFFFFF0, 0x20000, 0x20, 'N'}}, NewRomError::TargetPastEnd},
        {{{0x10000, ROM_IMAGE_SIZE - 3, 4, 'N'}}, NewRomError::SourcePastEnd},
        {{{0x10000, UNKNOWN_SOURCE, 4, 'N'}}, NewRomError::SourcePastEnd},
        {{{0x10000, 9, 4, 'N'}}, NewRomError::UserBitmap},  // no such User bitmap
        // User records that do not read back: cut, one with a bit flipped, one whose data
        // differs from what was converted.
        {{{0x10000, 2, std::uint32_t(FakeUser(2, 'N').record.size() - 3), 'N'}},
         NewRomError::RecordMismatch},
        {{{0x10000, 1, 0x40, 'N'}}, NewRomError::RecordMismatch},
        {{{0x10000, 0, 0x40, 'N'}}, NewRomError::RecordMismatch},
        {{{0x10000, 3, 0x40, 'N'}}, NewRomError::None},
    };
    const UserRecordSource users = [](std::uint32_t u, char flag) {
        UserRecord user = u < 4 ? FakeUser(u, flag) : UserRecord{};
        if (u == 1) {
            user.record[13] ^= 0x04;  // the stream's second byte
        } else if (u == 0) {
            user.converted.data[2] ^= 0x01;
        }
        return user;
    };
    for (const auto& [pending, error] : cases) {
        const NewRomResult result = BuildNewImage(working, pending, users);
        EXPECT_EQ(result.error, error) << pending[0].targetOffset;
        EXPECT_EQ(result.image.empty(), error != NewRomError::None);
    }
    EXPECT_EQ(BuildNewImage(Swapped(working), {}, {}).error, NewRomError::WorkingNotSwapped);
    // Save New ROM's file: a record that does not read back leaves no file.
    TempFolder folder;
    const std::vector<PendingReplacement> bad = {{0x10000, 1, 0x40, 'N'}};
    EXPECT_EQ(SaveNewRomFile(folder.Write("w.rom", working), folder / "new.rom", bad, users).error,
              NewRomError::RecordMismatch);
    EXPECT_FALSE(std::filesystem::exists(folder / "new.rom"));
}

TEST(PatchRecords, WorkedCasesAndTheLiteralSearchInBothOrdersAcrossEverySkippingBorder) {
    // Single unchanged bytes stay inside a record, a pair ends it, its length is rounded up to 4
    // and cut at the end of the image.
    Bytes after(40, 0);
    for (const int p : {5, 10, 12, 14, 20, 23, 28, 32, 37}) {
        after[p] = 1;
    }
    EXPECT_EQ(DiffImages(Bytes(40), after).value(),
              (Records{{5, 4}, {10, 8}, {20, 4}, {28, 4}, {32, 4}, {37, 3}}));
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        // Small dense images, and long sparse ones whose equal stretches are skipped in steps.
        const bool sparse = round % 10 == 0;
        const std::size_t size = sparse ? 1 << 14 : 2 * (1 + rng() % 200);
        Bytes before(size);
        std::generate(before.begin(), before.end(),
                      [&] { return static_cast<std::uint8_t>(rng()); });
        Bytes after = before;
        const unsigned density = sparse ? 2000 : 4 * (1 + rng() % 6);
        for (std::size_t p = 0; p < size; ++p) {
            if (rng() % density == 0 || (sparse && (p % 4096 == 4095 || p == 8 + 255))) {
                after[p] ^= static_cast<std::uint8_t>(1 + rng() % 255);
            }
        }
        const Records expected = LiteralDiff(before, after);
        ASSERT_EQ(DiffImages(before, after).value(), expected) << "round " << round;
        ASSERT_EQ(DiffImages(Swapped(before), Swapped(after), ImageOrder::Swapped), expected);
    }
}

TEST(PatchWriter, BlocksHoldTheNewBytesPairsExchangedUpTo4096Records) {
    // A record at an odd position: its block holds native bytes 6, 5, 8, 7 of the new image.
    Bytes after = {0, 0, 0, 0, 0, 0x55, 0x66, 0x77, 0x88, 0, 0, 0};
    EXPECT_EQ(WritePatch({{5, 4}}, after).bytes,
              (Bytes{1, 0, 0, 0, 5, 0, 0, 0, 4, 0, 0, 0, 0x66, 0x55, 0x88, 0x77}));
    const Bytes before(8 * (MAX_PATCH_RECORDS + 1), 0);
    after = before;
    for (std::size_t k = 0; k <= MAX_PATCH_RECORDS; ++k) {
        after[8 * k] = 1;
    }
    EXPECT_EQ(MakePatch(before, after).recordCount, MAX_PATCH_RECORDS + 1);  // refused
    after[8 * MAX_PATCH_RECORDS] = 0;
    EXPECT_EQ(MakePatch(before, after).bytes.size(), 4 + 12 * MAX_PATCH_RECORDS);
}

TEST(PatchReader, EveryFaultIsFoundBeforeAnythingIsApplied) {
    const std::pair<Bytes, PatchError> cases[] = {
        {Bytes{1, 0, 0}, PatchError::NoRecordCount},
        {Bytes{0x01, 0x10, 0, 0}, PatchError::TooManyRecords},  // 4097
        {Bytes{2, 0, 0, 0, 0, 0, 1, 0, 4, 0, 0, 0}, PatchError::TableCut},
        {PatchFile({{0x10000, 4}, {0x10004, 0}}), PatchError::EmptyRecord},
        {PatchFile({{0xFFFFFFFF, 2}}), PatchError::PastImage},  // wraps in 32 bits
        {PatchFile({{0x20000, 4}, {0x10000, 4}}), PatchError::Unordered},
        {PatchFile({{0x10000, 4}, {0x10008, 8}, {0x1000C, 4}}), PatchError::Overlapping},
        {PatchFile({{0x10000, 3}, {0x10010, 4}}), PatchError::OddBlock},
        {PatchFile({{0x10000, 8}}, -1), PatchError::WrongFileSize},
        {PatchFile({{0x10000, 8}}, 1), PatchError::WrongFileSize},  // a byte after the last block
    };
    const Bytes working = MakeSwappedRom(25);
    for (const auto& [patch, error] : cases) {
        const PatchApplyResult applied = ApplyPatch(working, patch);
        EXPECT_EQ(applied.error, error) << patch.size();
    }
    EXPECT_EQ(ApplyPatch(Swapped(working), Bytes{0, 0, 0, 0}).error, PatchError::ImageNotSwapped);
}

// Save New ROM (building in the working image's own buffer, sources that are targets set aside),
// then a patch, then applying it gives the saved image again; through files (whose bytes the
// command-line tests pin as well) never over an input however named, and on a full disk the old
// files are kept.
TEST(RomOutputFiles, WrittenWholeOrNotAtAll) {
    TempFolder folder;
    const Bytes working = MakeSwappedRom(26);
    const Bytes saved = BuildNewImage(working, PENDING, {}).image;
    const auto workingPath = folder.Write("working.rom", working);
    const auto savedPath = folder / "saved.v64";
    const auto patchPath = folder / "p.pat";
    ASSERT_EQ(SaveNewRomFile(workingPath, savedPath, PENDING, {}).error, NewRomError::None);
    ASSERT_EQ(WritePatchFile(workingPath, savedPath, patchPath).error, PatchError::None);
    EXPECT_EQ(WritePatchFile(workingPath, saved, patchPath).bytes, ReadAllBytes(patchPath));
    const Bytes patch = ReadAllBytes(patchPath);
    EXPECT_EQ(ReadPatch(patch).records, LiteralDiff(Swapped(working), Swapped(saved)));
    EXPECT_EQ(ApplyPatch(working, patch).image, saved);
    EXPECT_EQ(ApplyPatch(Bytes(working), patch).image, saved);
    EXPECT_EQ(ApplyPatch(working, Bytes{0, 0, 0, 0}).image, working);
    std::filesystem::create_hard_link(workingPath, folder / "link.rom");
    EXPECT_EQ(SaveNewRomFile(workingPath, folder / "link.rom", {}, {}).error,
              NewRomError::SameAsWorking);

    const Bytes old{9, 9, 9};
    const auto oldPatch = folder.Write("old.pat", old);
    const auto oldRom = folder.Write("old.rom", old);
    // No file may grow past 4 KiB in the child: neither the patch nor an image can be written.
    EXPECT_EQ(rom_test::RunWithFileSizeLimit(
                  4096,
                  [&] {
                      const bool patch = WritePatchFile(workingPath, savedPath, oldPatch).error ==
                                         PatchError::CannotWrite;
                      const bool rom = SaveNewRomFile(workingPath, oldRom, {}, {}).error ==
                                       NewRomError::CannotWrite;
                      return patch && rom &&
                             ApplyPatchFile(workingPath, patchPath, oldRom).error ==
                                 PatchError::CannotWrite;
                  }),
              1);
    EXPECT_EQ(ReadAllBytes(oldPatch), old);
    EXPECT_EQ(ReadAllBytes(oldRom), old);
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"link.rom", "old.pat", "old.rom", "p.pat", "saved.v64",
                                        "working.rom"}));
}
