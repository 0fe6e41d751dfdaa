#include "romio/Patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "romio/NewRom.h"
#include "romio/RomTestSupport.h"

namespace {

using rom_test::Bytes;
using rom_test::MakeSwappedRom;
using Records = std::vector<PatchRecord>;

// The record search written out step by step: positions past the end count as unchanged, and
// the rounded length is then cut at the end.
Records LiteralDiff(const Bytes& before, const Bytes& after) {
    const std::size_t n = before.size();
    auto unchanged = [&](std::size_t i) { return i >= n || before[i] == after[i]; };
    Records records;
    std::size_t p = 0;
    while (p < n) {
        if (unchanged(p)) {
            ++p;
            continue;
        }
        std::size_t x = p + 1;
        while (!(unchanged(x) && unchanged(x + 1))) {
            ++x;
        }
        const std::size_t rounded = (x + 1 - p + 3) / 4 * 4;
        const std::size_t length = std::min(rounded, n - p);
        records.push_back({static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(length)});
        p += length;
    }
    return records;
}

// A native image of `size` zero bytes with the bytes at `changed` set to 0xC0 + position.
Bytes Changed(std::size_t size, const std::vector<std::size_t>& changed) {
    Bytes image(size, 0);
    for (const std::size_t p : changed) {
        image[p] = static_cast<std::uint8_t>(0xC0 + p);
    }
    return image;
}

Records Diff(const Bytes& before, const Bytes& after, ImageOrder order = ImageOrder::Native) {
    const auto records = DiffImages(before, after, order);
    EXPECT_TRUE(records.has_value());
    return records.value_or(Records{});
}

void PutU32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A patch file with the given count, table and `blockBytes` bytes of blocks.
Bytes PatchFile(std::uint32_t count, const Records& table, std::size_t blockBytes) {
    Bytes out;
    PutU32(out, count);
    for (const PatchRecord& r : table) {
        PutU32(out, r.offset);
        PutU32(out, r.length);
    }
    for (std::size_t i = 0; i < blockBytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(0x11 * (i + 1)));
    }
    return out;
}

// A patch file whose blocks are exactly as long as its table says.
Bytes WellFormed(const Records& table) {
    std::size_t total = 0;
    for (const PatchRecord& r : table) {
        total += r.length;
    }
    return PatchFile(static_cast<std::uint32_t>(table.size()), table, total);
}

// How a reader that exchanges the pairs of the whole patch file (instead of each block's) and
// takes each block from the result rebuilds the image; it agrees with ApplyPatch exactly when
// every block starts at an even position.
Bytes WholeFileExchangeApply(const Bytes& workingSwapped, Bytes patch) {
    const PatchReadResult read = ReadPatch(patch);
    EXPECT_EQ(read.error, PatchError::None);
    SwapBytePairs(patch);
    Bytes native = rom_test::Swapped(workingSwapped);
    std::size_t q = read.firstBlock;
    for (const PatchRecord& r : read.records) {
        std::copy_n(patch.begin() + static_cast<std::ptrdiff_t>(q), r.length,
                    native.begin() + r.offset);
        q += r.length;
    }
    return rom_test::Swapped(native);
}

// A new image made by Save New ROM from `working` with replacements at even and odd targets.
Bytes SavedImage(const Bytes& working) {
    const std::vector<PendingReplacement> pending = {
        {0x10000, 0x50000, 0x200, 'N'}, {0x10201, 0x60001, 0x33, 'N'},
        {0x10240, 0x70000, 0x10, 'N'},  {0x300003, 0x90002, 0x1001, 'G'},
        {0xA00000, 0x10000, 7, 'N'},
    };
    NewRomResult result = BuildNewImage(working, pending, {});
    EXPECT_EQ(result.error, NewRomError::None);
    return result.image;
}

}  // namespace

// --- Finding records ----------------------------------------------------------------------------

TEST(PatchRecords, WorkedCases) {
    const struct {
        std::size_t size;
        std::vector<std::size_t> changed;
        Records expected;
    } cases[] = {
        {32, {}, {}},
        {32, {5}, {{5, 4}}},
        {32, {0, 2}, {{0, 4}}},
        {32, {0, 3}, {{0, 4}}},
        {32, {0, 4}, {{0, 4}, {4, 4}}},
        // Single unchanged bytes stay inside; an unchanged pair ends the record (raw 6 -> 8).
        {64, {10, 12, 14}, {{10, 8}}},
        // 21 and 22 are an unchanged pair, but raw length 2 rounds to 4 and takes 23 in.
        {64, {20, 23}, {{20, 4}}},
        {64, {20, 24, 25}, {{20, 4}, {24, 4}}},
        // The last record is cut at the end of the image.
        {40, {39}, {{39, 1}}},
        {40, {37}, {{37, 3}}},
        {40, {36}, {{36, 4}}},
        {40, {37, 39}, {{37, 3}}},
        {40, {30, 39}, {{30, 4}, {39, 1}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Diff(Bytes(c.size, 0), Changed(c.size, c.changed)), c.expected)
            << c.size << " bytes, " << c.changed.size() << " changed";
    }
}

TEST(PatchRecords, EqualsTheLiteralSearchInBothOrders) {
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        const std::size_t size = 2 * (1 + rng() % 200);
        Bytes before(size);
        for (auto& b : before) {
            b = static_cast<std::uint8_t>(rng());
        }
        Bytes after = before;
        const unsigned density = 1 + rng() % 6;
        for (std::size_t p = 0; p < size; ++p) {
            if (rng() % (density * 4) == 0) {
                after[p] ^= static_cast<std::uint8_t>(1 + rng() % 255);
            }
        }
        const Records expected = LiteralDiff(before, after);
        ASSERT_EQ(Diff(before, after), expected) << "round " << round;
        ASSERT_EQ(Diff(rom_test::Swapped(before), rom_test::Swapped(after), ImageOrder::Swapped),
                  expected)
            << "round " << round;
    }
}

TEST(PatchRecords, SkippingLongEqualStretchesMissesNoChange) {
    // Changes at and right after the word, line and chunk borders of the skipping, counted from 0
    // or from 8 behind a record at 0 (its end, 4, rounded to a word).
    const std::size_t size = 4 * 4096;
    for (const std::vector<std::size_t>& changes :
         std::vector<std::vector<std::size_t>>{{7, 8, 63, 64, 4095, 4096, 8191, 8200, size - 1},
                                               {255},
                                               {3 * 4096 - 1},
                                               {0, 8 + 7},
                                               {0, 8 + 255},
                                               {0, 8 + 4095},
                                               {0, 8 + 2 * 4096 - 1}}) {
        const Bytes before(size, 0x33);
        Bytes after = before;
        for (const std::size_t p : changes) {
            after[p] = 0x44;
        }
        EXPECT_EQ(Diff(before, after), LiteralDiff(before, after)) << changes.back();
    }
    std::mt19937 rng(23);
    for (int round = 0; round < 5; ++round) {
        const Bytes before(1 << 16, static_cast<std::uint8_t>(round));
        Bytes after = before;
        for (int k = 0; k < 60; ++k) {
            after[rng() % before.size()] ^= 0x5A;
        }
        ASSERT_EQ(Diff(before, after), LiteralDiff(before, after)) << "round " << round;
    }
}

TEST(PatchRecords, ImagesThatCannotBeCompared) {
    EXPECT_FALSE(DiffImages(Bytes(8), Bytes(10)).has_value());
    EXPECT_FALSE(DiffImages(Bytes(9), Bytes(9), ImageOrder::Swapped).has_value());
    EXPECT_TRUE(DiffImages(Bytes(9), Bytes(9), ImageOrder::Native).has_value());
    EXPECT_EQ(MakePatch(Bytes(8), Bytes(10)).error, PatchError::DifferentImages);
}

// --- Writing ------------------------------------------------------------------------------------

TEST(PatchWriter, BlocksHoldTheNewBytesWhateverTheOrder) {
    // A record at an odd position: its block holds native bytes 6, 5, 8, 7 of the new image.
    Bytes after = Changed(32, {5});
    after[6] = 0x66;
    after[7] = 0x77;
    after[8] = 0x88;
    const PatchBytesResult patch = WritePatch({{5, 4}}, after);
    ASSERT_EQ(patch.error, PatchError::None);
    EXPECT_EQ(Bytes(patch.bytes.begin() + 12, patch.bytes.end()),
              (Bytes{0x66, after[5], 0x88, 0x77}));

    const Bytes before(64, 0);
    after = Changed(64, {1, 9, 10, 33, 63});
    const PatchBytesResult native = MakePatch(before, after);
    const PatchBytesResult swapped =
        MakePatch(rom_test::Swapped(before), rom_test::Swapped(after), ImageOrder::Swapped);
    ASSERT_EQ(native.error, PatchError::None);
    EXPECT_EQ(native.bytes, swapped.bytes);
    EXPECT_EQ(ReadPatch(native.bytes, 64).records, Diff(before, after));
    // The last record (63, 1) is cut to one byte, which stays as it is.
    EXPECT_EQ(native.bytes.back(), after[63]);
    EXPECT_EQ(MakePatch(before, before).bytes, (Bytes{0, 0, 0, 0}));
}

TEST(PatchWriter, MoreThan4096RecordsAreRefused) {
    const std::size_t size = 8 * (MAX_PATCH_RECORDS + 1);
    const Bytes before(size, 0);
    Bytes after = before;
    for (std::size_t k = 0; k <= MAX_PATCH_RECORDS; ++k) {
        after[8 * k] = 1;
    }
    const PatchBytesResult tooMany = MakePatch(before, after);
    EXPECT_EQ(tooMany.error, PatchError::TooManyRecords);
    EXPECT_EQ(tooMany.recordCount, MAX_PATCH_RECORDS + 1);
    EXPECT_TRUE(tooMany.bytes.empty());
    after[8 * MAX_PATCH_RECORDS] = 0;
    const PatchBytesResult fits = MakePatch(before, after);
    ASSERT_EQ(fits.error, PatchError::None);
    EXPECT_EQ(fits.bytes.size(), 4 + 12 * MAX_PATCH_RECORDS);
}

TEST(PatchWriter, RecordOutsideTheImageIsRefused) {
    const PatchBytesResult result = WritePatch({{6, 4}}, Bytes(9));
    EXPECT_EQ(result.error, PatchError::DifferentImages);
    EXPECT_EQ(result.record, (PatchRecord{6, 4}));
}

// --- Reading: every fault is found before anything is written ------------------------------------

TEST(PatchReader, WellFormedPatchesAreRead) {
    const Records table = {{0x10000, 4}, {0x10004, 8}, {0x20001, 3}};  // adjacent, odd last
    const PatchReadResult read = ReadPatch(WellFormed(table));
    ASSERT_EQ(read.error, PatchError::None);
    EXPECT_EQ(read.records, table);
    EXPECT_EQ(read.firstBlock, 4u + 8 * 3);
    const PatchReadResult empty = ReadPatch(Bytes{0, 0, 0, 0});
    EXPECT_EQ(empty.error, PatchError::None);
    EXPECT_TRUE(empty.records.empty());
    // Limits that are still valid.
    EXPECT_EQ(ReadPatch(WellFormed({{ROM_IMAGE_SIZE - 4, 4}})).error, PatchError::None);
    EXPECT_EQ(ReadPatch(WellFormed({{0x10000, 2}, {0x10010, 3}})).error, PatchError::None);
    EXPECT_EQ(ReadPatch(WellFormed({{10, 4}}), 14).error, PatchError::None);
    EXPECT_EQ(ReadPatch(WellFormed({{10, 4}}), 13).error, PatchError::PastImage);
}

TEST(PatchReader, EveryFaultIsFoundAndSaidInItsOwnWords) {
    Bytes cut = WellFormed({{0x10000, 8}});
    cut.pop_back();  // a valid patch one byte short
    Bytes longer = WellFormed({{0x10000, 8}});
    longer.push_back(0);
    Bytes table = WellFormed({{0x10000, 4}, {0x10010, 4}});
    table.resize(4 + 8 + 5);
    struct Case {
        Bytes patch;
        PatchError error;
        std::size_t recordIndex;
    };
    const std::vector<Case> cases = {
        {Bytes{}, PatchError::NoRecordCount, 0},
        {Bytes{1, 0, 0}, PatchError::NoRecordCount, 0},
        {PatchFile(MAX_PATCH_RECORDS + 1, {}, 0), PatchError::TooManyRecords, 0},
        {PatchFile(0xFFFFFFFF, {}, 0), PatchError::TooManyRecords, 0},
        {table, PatchError::TableCut, 0},
        {WellFormed({{0x10000, 4}, {0x10004, 0}}), PatchError::EmptyRecord, 1},
        {WellFormed({{ROM_IMAGE_SIZE - 3, 4}}), PatchError::PastImage, 0},
        {PatchFile(1, {{0xFFFFFFFF, 2}}, 2), PatchError::PastImage, 0},  // wraps in 32 bits
        {WellFormed({{0x20000, 4}, {0x10000, 4}}), PatchError::Unordered, 1},
        {WellFormed({{0x10000, 4}, {0x10008, 8}, {0x1000C, 4}}), PatchError::Overlapping, 2},
        {WellFormed({{0x10000, 4}, {0x10000, 4}}), PatchError::Overlapping, 1},
        {WellFormed({{0x10000, 3}, {0x10010, 4}}), PatchError::OddBlock, 0},
        {cut, PatchError::WrongFileSize, 0},
        {longer, PatchError::WrongFileSize, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const PatchReadResult read = ReadPatch(cases[i].patch);
        EXPECT_EQ(read.error, cases[i].error) << "case " << i;
        EXPECT_EQ(read.recordIndex, cases[i].recordIndex) << "case " << i;
        EXPECT_TRUE(read.records.empty()) << "case " << i;
    }
    const PatchReadResult short1 = ReadPatch(cut);
    EXPECT_EQ(short1.expectedSize, 20u);
    EXPECT_EQ(short1.fileSize, 19u);
}

// --- Applying -----------------------------------------------------------------------------------

TEST(PatchApply, SaveThenPatchThenApplyGivesTheSameImage) {
    const Bytes working = MakeSwappedRom(21);
    const Bytes saved = SavedImage(working);
    const PatchBytesResult patch = MakePatch(working, saved, ImageOrder::Swapped);
    ASSERT_EQ(patch.error, PatchError::None);
    EXPECT_EQ(Diff(rom_test::Swapped(working), rom_test::Swapped(saved)),
              ReadPatch(patch.bytes).records);
    EXPECT_EQ(ApplyPatch(working, patch.bytes).image, saved);
    // Applying in the working buffer itself gives the same bytes.
    const PatchApplyResult taken = ApplyPatch(Bytes(working), patch.bytes);
    ASSERT_EQ(taken.error, PatchError::None);
    EXPECT_EQ(taken.image, saved);
    // A reader that exchanges the pairs of the whole file reads the same bytes.
    EXPECT_EQ(WholeFileExchangeApply(working, patch.bytes), saved);
    EXPECT_EQ(ApplyPatch(working, Bytes{0, 0, 0, 0}).image, working);
}

TEST(PatchApply, ChangesInTheLastBytesOfTheImage) {
    const Bytes working = MakeSwappedRom(22);
    for (const std::uint32_t from : {ROM_IMAGE_SIZE - 1, ROM_IMAGE_SIZE - 3, ROM_IMAGE_SIZE - 6}) {
        Bytes changed = working;
        for (std::uint32_t p = from; p < ROM_IMAGE_SIZE; ++p) {
            changed[p ^ 1] ^= 0xFF;
        }
        const PatchBytesResult patch = MakePatch(working, changed, ImageOrder::Swapped);
        ASSERT_EQ(patch.error, PatchError::None);
        const PatchReadResult read = ReadPatch(patch.bytes);
        ASSERT_EQ(read.records.size(), 1u);
        EXPECT_EQ(read.records[0], (PatchRecord{from, ROM_IMAGE_SIZE - from}));
        EXPECT_EQ(ApplyPatch(working, patch.bytes).image, changed) << from;
    }
}

TEST(PatchApply, AdjacentRecordsLeaveNothingBetweenThem) {
    const Bytes working = MakeSwappedRom(24);
    Bytes patch = PatchFile(2, {{0x10001, 4}, {0x10005, 4}}, 0);
    const Bytes blocks = {1, 2, 3, 4, 5, 6, 7, 8};
    patch.insert(patch.end(), blocks.begin(), blocks.end());
    const PatchApplyResult applied = ApplyPatch(working, patch);
    ASSERT_EQ(applied.error, PatchError::None);
    // Pairs exchanged within each block: native 0x10001.. reads 2 1 4 3 6 5 8 7.
    EXPECT_EQ(CopySwappedRange(applied.image, 8, 0x10001), (Bytes{2, 1, 4, 3, 6, 5, 8, 7}));
    EXPECT_EQ(CopySwappedRange(applied.image, 1, 0x10000), CopySwappedRange(working, 1, 0x10000));
    EXPECT_EQ(CopySwappedRange(applied.image, 1, 0x10009), CopySwappedRange(working, 1, 0x10009));
}

TEST(PatchApply, OddLastBlockKeepsItsUnpairedByte) {
    const Bytes working = MakeSwappedRom(31);
    for (const std::uint32_t offset : {0x10000u, 0x10001u}) {
        Bytes patch = PatchFile(1, {{offset, 3}}, 0);
        patch.insert(patch.end(), {0xA1, 0xB2, 0xC3});
        const PatchApplyResult applied = ApplyPatch(working, patch);
        ASSERT_EQ(applied.error, PatchError::None);
        EXPECT_EQ(CopySwappedRange(applied.image, 3, offset), (Bytes{0xB2, 0xA1, 0xC3})) << offset;
        EXPECT_EQ(CopySwappedRange(applied.image, 1, offset + 3),
                  CopySwappedRange(working, 1, offset + 3));
    }
}

TEST(PatchApply, RefusedPatchOrWorkingImageGivesNoImage) {
    const Bytes working = MakeSwappedRom(25);
    const PatchApplyResult bad = ApplyPatch(working, WellFormed({{0x20000, 4}, {0x10000, 4}}));
    EXPECT_EQ(bad.error, PatchError::Unordered);
    EXPECT_EQ(bad.patch.error, PatchError::Unordered);
    EXPECT_TRUE(bad.image.empty());
    EXPECT_EQ(ApplyPatch(Bytes(working.begin(), working.end() - 2), Bytes{0, 0, 0, 0}).error,
              PatchError::ImageWrongSize);
    EXPECT_EQ(ApplyPatch(rom_test::Swapped(working), Bytes{0, 0, 0, 0}).error,
              PatchError::ImageNotSwapped);
}

// --- Files --------------------------------------------------------------------------------------

TEST(PatchFiles, WriteThenApplyThroughFiles) {
    TempFolder folder;
    const Bytes working = MakeSwappedRom(26);
    const Bytes saved = SavedImage(working);
    const auto workingPath = folder.Write("working.rom", working);
    const auto savedPath = folder.Write("saved.rom", saved);

    const PatchFileResult written = WritePatchFile(workingPath, savedPath, folder / "p.pat");
    ASSERT_EQ(written.error, PatchError::None);
    EXPECT_EQ(ReadAllBytes(folder / "p.pat"), written.bytes);
    EXPECT_EQ(written.recordCount, ReadPatch(written.bytes).records.size());
    // From the image in memory, as Save New ROM has it: the same patch.
    const PatchFileResult fromMemory = WritePatchFile(workingPath, saved, folder / "q.pat");
    ASSERT_EQ(fromMemory.error, PatchError::None);
    EXPECT_EQ(fromMemory.bytes, written.bytes);

    const PatchApplyResult applied =
        ApplyPatchFile(workingPath, folder / "p.pat", folder / "o.rom");
    ASSERT_EQ(applied.error, PatchError::None);
    EXPECT_EQ(ReadAllBytes(folder / "o.rom"), saved);
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"o.rom", "p.pat", "q.pat", "saved.rom", "working.rom"}));
}

TEST(PatchFiles, BadPatchLeavesTheOutputUntouched) {
    TempFolder folder;
    const auto workingPath = folder.Write("working.rom", MakeSwappedRom(27));
    Bytes patch = WellFormed({{0x10000, 8}});
    patch.pop_back();
    const auto patchPath = folder.Write("p.pat", patch);
    const auto output = folder.Write("o.rom", Bytes{4, 5});
    const PatchApplyResult result = ApplyPatchFile(workingPath, patchPath, output);
    EXPECT_EQ(result.error, PatchError::WrongFileSize);
    EXPECT_EQ(ReadAllBytes(output), (Bytes{4, 5}));
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"o.rom", "p.pat", "working.rom"}));
    // An output that is one of the inputs is refused before anything is written.
    EXPECT_EQ(ApplyPatchFile(workingPath, patchPath, workingPath).error, PatchError::SameAsInput);
    EXPECT_EQ(ApplyPatchFile(workingPath, patchPath, patchPath).error, PatchError::SameAsInput);
    EXPECT_EQ(WritePatchFile(workingPath, workingPath, workingPath).error, PatchError::SameAsInput);
    EXPECT_EQ(ReadAllBytes(workingPath), MakeSwappedRom(27));
    EXPECT_EQ(ReadAllBytes(patchPath), patch);
}

TEST(PatchFiles, InputsThatAreNoSwappedImage) {
    TempFolder folder;
    const auto good = folder.Write("good.rom", MakeSwappedRom(29));
    const auto native = folder.Write("native.rom", rom_test::MakeNativeRom(29));
    const auto small = folder.Write("small.rom", Bytes(64, 0));
    const auto patchPath = folder.Write("p.pat", Bytes{0, 0, 0, 0});
    const PatchFileResult notSwapped = WritePatchFile(good, native, folder / "x.pat");
    EXPECT_EQ(notSwapped.error, PatchError::ImageNotSwapped);
    EXPECT_NE(notSwapped.detail.find("native.rom"), std::string::npos);
    const PatchFileResult wrongSize = WritePatchFile(small, good, folder / "x.pat");
    EXPECT_EQ(wrongSize.error, PatchError::ImageWrongSize);
    EXPECT_EQ(wrongSize.imageLength, 64u);
    EXPECT_EQ(ApplyPatchFile(folder / "missing.rom", patchPath, folder / "x.rom").error,
              PatchError::CannotRead);
    EXPECT_EQ(ApplyPatchFile(good, folder / "missing.pat", folder / "x.rom").error,
              PatchError::CannotRead);
    EXPECT_FALSE(std::filesystem::exists(folder / "x.pat"));
    EXPECT_FALSE(std::filesystem::exists(folder / "x.rom"));
}

TEST(PatchFiles, FullDiskLeavesOldFilesAndNoTemporaryFile) {
    TempFolder folder;
    const Bytes working = MakeSwappedRom(30);
    const auto workingPath = folder.Write("working.rom", working);
    const auto savedPath = folder.Write("saved.rom", SavedImage(working));
    const PatchFileResult made = WritePatchFile(workingPath, savedPath, folder / "p.pat");
    ASSERT_EQ(made.error, PatchError::None);
    ASSERT_GT(made.bytes.size(), 4096u);
    const Bytes old{9, 9, 9};
    const auto oldPatch = folder.Write("old.pat", old);
    const auto oldRom = folder.Write("old.rom", old);

    // The patch (over 4 KiB) and the image (12 MiB) cannot grow past 4 KiB in the child.
    const int status = rom_test::RunWithFileSizeLimit(4096, [&] {
        if (WritePatchFile(workingPath, savedPath, oldPatch).error != PatchError::CannotWrite) {
            return 1;
        }
        const PatchApplyResult applied = ApplyPatchFile(workingPath, folder / "p.pat", oldRom);
        return applied.error == PatchError::CannotWrite ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAllBytes(oldPatch), old);
    EXPECT_EQ(ReadAllBytes(oldRom), old);
    EXPECT_EQ(
        rom_test::Entries(folder.Path()),
        (std::vector<std::string>{"old.pat", "old.rom", "p.pat", "saved.rom", "working.rom"}));
}
