#include "romio/NewRom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/SizeClasses.h"
#include "codec/UserImage.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "romio/RomTestSupport.h"

namespace {

using rom_test::Bytes;
using rom_test::MakeSwappedRom;

constexpr int CLASS_N = 0;  // "08 x 08", format flag N
constexpr int CLASS_G = 3;  // "10 x 10G", format flag G

// The new image as the piece-by-piece assembly makes it: native pieces appended one after the
// other from the working ROM (each taken with CopySwappedRange), User records cut or padded with
// zeros to `length`, the whole then exchanged back to swapped order. `pending` must be sorted and
// free of overlaps and of ranges past the end.
Bytes PieceByPiece(const Bytes& working, const std::vector<PendingReplacement>& pending,
                   const std::map<std::pair<std::uint32_t, char>, Bytes>& userRecords) {
    Bytes native;
    auto append = [&](std::int64_t count, std::uint32_t offset) {
        EXPECT_GE(count, 0);
        const Bytes piece = CopySwappedRange(working, static_cast<std::uint32_t>(count), offset);
        EXPECT_EQ(piece.size(), static_cast<std::size_t>(count));
        native.insert(native.end(), piece.begin(), piece.end());
    };
    append(pending.front().targetOffset, 0);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const PendingReplacement& e = pending[i];
        if (e.source >= USER_IMAGE_LIMIT) {
            append(e.length, e.source);
        } else {
            const Bytes& record = userRecords.at({e.source, e.formatFlag});
            for (std::uint32_t k = 0; k < e.length; ++k) {
                native.push_back(k < record.size() ? record[k] : 0);
            }
        }
        if (i + 1 < pending.size()) {
            const std::int64_t gap =
                std::int64_t{pending[i + 1].targetOffset} - e.targetOffset - e.length;
            append(gap, e.targetOffset + e.length);
        }
    }
    const PendingReplacement& last = pending.back();
    append(std::int64_t{ROM_IMAGE_SIZE} - last.targetOffset - last.length,
           last.targetOffset + last.length);
    EXPECT_EQ(native.size(), ROM_IMAGE_SIZE);
    SwapBytePairs(native);
    return native;
}

// User records made up for the assembly tests: record u with flag f is u + 3 bytes long.
UserRecordSource FakeUserRecords(std::map<std::pair<std::uint32_t, char>, Bytes>& made,
                                 int* calls = nullptr) {
    return [&made, calls](std::uint32_t u, char flag) {
        if (calls != nullptr) {
            ++*calls;
        }
        UserRecord user;
        user.result = ConvertResult::Ok;
        user.name = "user" + std::to_string(u);
        for (std::uint32_t k = 0; k < u + 3; ++k) {
            user.record.push_back(static_cast<std::uint8_t>(0xA0 + k * (flag == 'G' ? 3 : 5)));
        }
        made[{u, flag}] = user.record;
        return user;
    };
}

Bytes NativeRange(const Bytes& swapped, std::uint32_t offset, std::uint32_t count) {
    return CopySwappedRange(swapped, count, offset);
}

// An 8-bit User bitmap of 16 x 8 pixels with 12 colours, compressed at 4-bit depth.
Bytes UserBitmapFile() {
    TestBitmap bitmap;
    bitmap.width = 16;
    bitmap.height = 8;
    bitmap.bitCount = 8;
    bitmap.table = DistinctTable(12);
    for (int i = 0; i < 16 * 8; ++i) {
        bitmap.pixels.push_back(static_cast<std::uint8_t>(i * 7 % 12));
    }
    return bitmap.Build();
}

// A catalogue whose class CLASS_N holds textures at 0x10000 + 0x400 k (k < 4), class CLASS_G one
// at 0x20000, and whose User class holds the bitmap at `userBitmap`.
void FillCatalogue(SizeClassTable& table, const std::filesystem::path& userBitmap) {
    for (std::uint32_t k = 0; k < 4; ++k) {
        ASSERT_TRUE(table.AppendEntry(CLASS_N, "n" + std::to_string(k) + ".bmp",
                                      0x10000 + 0x400 * k, 8, 8));
    }
    ASSERT_TRUE(table.AppendEntry(CLASS_G, "g.bmp", 0x20000, 16, 16));
    ASSERT_TRUE(table.AppendEntry(USER_CLASS, userBitmap.string(), 0, 16, 8));
}

void Replace(SizeClassTable& table, int targetClass, std::uint32_t target, int sourceClass,
             std::uint32_t source, std::uint16_t size) {
    table[targetClass].replacementIndex[target] = source;
    table[targetClass].replacementClass[target] = static_cast<std::uint32_t>(sourceClass);
    table[targetClass].replacementSize[target] = size;
}

}  // namespace

// --- Collecting the work list -------------------------------------------------------------------

TEST(NewRomCollect, SourcesFlagsAndStableOrderByTarget) {
    SizeClassTable table;
    EXPECT_TRUE(CollectPendingReplacements(table).empty());
    ASSERT_TRUE(table.AppendEntry(CLASS_N, "a", 0x30000, 8, 8));
    ASSERT_TRUE(table.AppendEntry(CLASS_N, "b", 0x10000, 8, 8));
    ASSERT_TRUE(table.AppendEntry(CLASS_G, "c", 0x30000, 16, 16));  // same target as "a"
    ASSERT_TRUE(table.AppendEntry(USER_CLASS, "u.bmp", 0, 16, 8));
    Replace(table, CLASS_G, 0, CLASS_N, 1, 0x20);     // c by b
    Replace(table, CLASS_N, 0, USER_CLASS, 0, 0x30);  // a by User 0
    Replace(table, CLASS_N, 1, CLASS_N, 0, 0x40);     // b by a

    const std::vector<PendingReplacement> expected = {
        {0x10000, 0x30000, 0x40, 'N'},
        {0x30000, 0, 0x30, 'N'},        // class 0 collected before class 3: stays first
        {0x30000, 0x10000, 0x20, 'G'},  // the target class's flag
    };
    EXPECT_EQ(CollectPendingReplacements(table), expected);
}

TEST(NewRomCollect, SortKeepsCollectionOrderAmongEqualTargets) {
    SizeClassTable table;
    // 3 targets shared by 200 slots over two classes; each slot's source tells its collection
    // position (class 1 slots are collected after all of class 0's).
    for (const int sizeClass : {0, 1}) {
        for (std::uint32_t k = 0; k < 100; ++k) {
            table[sizeClass].romOffset[k] = 0x10000 + 0x100 * ((k * 7 + sizeClass) % 3);
            Replace(table, sizeClass, k, 2, 100 * static_cast<std::uint32_t>(sizeClass) + k, 1);
            table[2].romOffset[100 * sizeClass + k] = 0x20000 + 100 * sizeClass + k;
        }
    }
    const auto pending = CollectPendingReplacements(table);
    ASSERT_EQ(pending.size(), 200u);
    EXPECT_TRUE(std::is_sorted(pending.begin(), pending.end(), [](const auto& a, const auto& b) {
        return a.targetOffset != b.targetOffset ? a.targetOffset < b.targetOffset
                                                : a.source < b.source;
    }));
}

TEST(NewRomCollect, SlotsBeyondTheEntryCountAndAnyNumberOfThemAreCollected) {
    SizeClassTable table;
    ASSERT_TRUE(table.AppendEntry(CLASS_N, "src", 0x10000, 8, 8));
    // Every slot of two classes: far more than 1024 replacements, all written.
    for (const int sizeClass : {1, 2}) {
        for (std::uint32_t k = 0; k < MAX_CLASS_ENTRIES; ++k) {
            table[sizeClass].romOffset[k] = 0x100000 + 4 * k + (sizeClass == 2 ? 0x10000 : 0);
            Replace(table, sizeClass, k, CLASS_N, 0, 4);
        }
    }
    const auto pending = CollectPendingReplacements(table);
    ASSERT_EQ(pending.size(), 2 * MAX_CLASS_ENTRIES);
    EXPECT_EQ(pending.front().targetOffset, 0x100000u);
    EXPECT_EQ(pending.back().targetOffset, 0x110000u + 4 * (MAX_CLASS_ENTRIES - 1));
}

TEST(NewRomCollect, UnsignedTargetsAndUnknownSources) {
    SizeClassTable table;
    table[CLASS_N].romOffset[0] = 0x80000000;  // negative as a signed value
    table[CLASS_N].romOffset[1] = 0x10000;
    table[CLASS_N].romOffset[2] = 0x10100;
    Replace(table, CLASS_N, 0, CLASS_N, 1, 1);
    Replace(table, CLASS_N, 1, 24, 0, 8);                       // no class 24
    Replace(table, CLASS_N, 2, CLASS_N, MAX_CLASS_ENTRIES, 8);  // no slot 1024
    const auto pending = CollectPendingReplacements(table);
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0], (PendingReplacement{0x10000, UNKNOWN_SOURCE, 8, 'N'}));
    EXPECT_EQ(pending[1], (PendingReplacement{0x10100, UNKNOWN_SOURCE, 8, 'N'}));
    EXPECT_EQ(pending[2], (PendingReplacement{0x80000000, 0x10000, 1, 'N'}));
}

// --- Assembling the image -----------------------------------------------------------------------

TEST(NewRomAssembly, FixedLayoutsEqualThePieceByPieceAssembly) {
    const Bytes working = MakeSwappedRom(1);
    std::map<std::pair<std::uint32_t, char>, Bytes> none;
    const std::vector<std::vector<PendingReplacement>> layouts = {
        {{0x12345, 0x23456, 0x101, 'N'}},  // odd target: the pairs of the file are split
        {{0x40000, 0x40800, 0x200, 'N'}, {0x40800, 0x40000, 0x200, 'N'}},  // each other
        {{0, 0x50001, 3, 'N'}, {ROM_IMAGE_SIZE - 5, 0x60000, 5, 'N'}},     // both ends
    };
    for (const auto& pending : layouts) {
        const NewRomResult result = BuildNewImage(working, pending, {});
        ASSERT_EQ(result.error, NewRomError::None);
        EXPECT_EQ(result.image, PieceByPiece(working, pending, none)) << pending.size();
    }
    EXPECT_EQ(BuildNewImage(working, {}, {}).image, working);
}

TEST(NewRomAssembly, EqualsThePieceByPieceAssemblyOnManyLayouts) {
    const Bytes working = MakeSwappedRom(3);
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        std::vector<PendingReplacement> pending;
        std::uint32_t next = 0x10000 + rng() % 5;
        const int count = 1 + static_cast<int>(rng() % 9);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t length = rng() % 4 == 0 ? 0 : 1 + rng() % 0x81;
            std::uint32_t source = 0x10000 + rng() % 0x100000;
            if (rng() % 3 == 0) {
                source = rng() % 4;  // a User record
            }
            pending.push_back({next, source, length, rng() % 2 == 0 ? 'N' : 'G'});
            // Gap of 0 to 3 bytes, sometimes the same target after a zero length.
            next += length + (length == 0 && rng() % 2 == 0 ? 0 : rng() % 4);
        }
        std::map<std::pair<std::uint32_t, char>, Bytes> made;
        const NewRomResult result = BuildNewImage(working, pending, FakeUserRecords(made));
        ASSERT_EQ(result.error, NewRomError::None) << "round " << round;
        ASSERT_EQ(result.image, PieceByPiece(working, pending, made)) << "round " << round;
    }
}

TEST(NewRomAssembly, BuildingInTheWorkingBufferGivesTheSameBytes) {
    const Bytes working = MakeSwappedRom(31);
    // Sources that are themselves targets, read before they are overwritten.
    const std::vector<PendingReplacement> pending = {
        {0x10000, 0x10101, 0x100, 'N'}, {0x10100, 0x10000, 0x81, 'N'}, {0x10181, 0x10100, 7, 'N'}};
    const NewRomResult copied = BuildNewImage(std::span<const std::uint8_t>(working), pending, {});
    NewRomResult taken = BuildNewImage(Bytes(working), pending, {});
    ASSERT_EQ(taken.error, NewRomError::None);
    EXPECT_EQ(taken.image, copied.image);
    std::map<std::pair<std::uint32_t, char>, Bytes> none;
    EXPECT_EQ(taken.image, PieceByPiece(working, pending, none));
}

TEST(NewRomAssembly, UserRecordIsCutToTheLengthOrPaddedWithZeros) {
    const Bytes working = MakeSwappedRom(6);
    std::map<std::pair<std::uint32_t, char>, Bytes> made;
    int calls = 0;
    // Record 5 is 8 bytes long: 3 of it, then all 8 and 4 zeros; built once per bitmap and flag.
    const NewRomResult result =
        BuildNewImage(working, {{0x10001, 5, 3, 'N'}, {0x10011, 5, 12, 'N'}, {0x10040, 5, 4, 'G'}},
                      FakeUserRecords(made, &calls));
    ASSERT_EQ(result.error, NewRomError::None);
    EXPECT_EQ(calls, 2);
    const Bytes& record = made.at({5, 'N'});
    ASSERT_EQ(record.size(), 8u);
    EXPECT_EQ(NativeRange(result.image, 0x10001, 3), Bytes(record.begin(), record.begin() + 3));
    Bytes padded = record;
    padded.resize(12, 0);
    EXPECT_EQ(NativeRange(result.image, 0x10011, 12), padded);
    EXPECT_EQ(NativeRange(result.image, 0x10011 + 12, 4), NativeRange(working, 0x10011 + 12, 4));
}

TEST(NewRomAssembly, UserBitmapIsConvertedWithTheTargetClassFlag) {
    TempFolder folder;
    const auto bitmap = folder.Write("romimages/User/face.bmp", UserBitmapFile());
    SizeClassTable table;
    FillCatalogue(table, bitmap);
    const UserImage n = PrepareUserImage(UserBitmapFile(), "N");
    const UserImage g = PrepareUserImage(UserBitmapFile(), "G");
    ASSERT_EQ(n.result, ConvertResult::Ok);
    ASSERT_NE(n.record, g.record);  // only the format code differs
    const auto size = static_cast<std::uint16_t>(n.record.size());
    Replace(table, CLASS_N, 1, USER_CLASS, 0, size);  // 0x10400, an N class
    Replace(table, CLASS_G, 0, USER_CLASS, 0, size);  // 0x20000, a G class

    const Bytes working = MakeSwappedRom(8);
    const NewRomResult result =
        BuildNewImage(working, CollectPendingReplacements(table), UserRecordsFromCatalogue(table));
    ASSERT_EQ(result.error, NewRomError::None);
    EXPECT_EQ(NativeRange(result.image, 0x10400, size), n.record);
    EXPECT_EQ(NativeRange(result.image, 0x20000, size), g.record);
}

// --- Refusals: nothing is returned --------------------------------------------------------------

TEST(NewRomRefusal, GapZeroIsFineAndOneByteMoreRunsIntoTheNextTarget) {
    const Bytes working = MakeSwappedRom(9);
    const PendingReplacement next{0x10100, 0x30000, 0x10, 'N'};
    const NewRomResult fits = BuildNewImage(working, {{0x10000, 0x20000, 0x100, 'N'}, next}, {});
    EXPECT_EQ(fits.error, NewRomError::None);

    const PendingReplacement tooLong{0x10000, 0x20000, 0x101, 'N'};
    const NewRomResult overlap = BuildNewImage(working, {tooLong, next}, {});
    EXPECT_EQ(overlap.error, NewRomError::Overlap);
    EXPECT_EQ(overlap.entry, tooLong);
    EXPECT_EQ(overlap.next, next);
    EXPECT_TRUE(overlap.image.empty());
    // Equal targets overlap unless the first is empty.
    EXPECT_EQ(
        BuildNewImage(working, {{0x10000, 0x20000, 1, 'N'}, {0x10000, 0x30000, 4, 'N'}}, {}).error,
        NewRomError::Overlap);
    EXPECT_EQ(
        BuildNewImage(working, {{0x10000, 0x20000, 0, 'N'}, {0x10000, 0x30000, 4, 'N'}}, {}).error,
        NewRomError::None);
}

TEST(NewRomRefusal, LastReplacementPastTheEndOfTheImage) {
    const Bytes working = MakeSwappedRom(11);
    const NewRomResult result = BuildNewImage(working, {{ROM_IMAGE_SIZE - 4, 0x20000, 5, 'N'}}, {});
    EXPECT_EQ(result.error, NewRomError::TargetPastEnd);
    EXPECT_TRUE(result.image.empty());
    // A target beyond the image, even with nothing to write, cannot be placed.
    EXPECT_EQ(BuildNewImage(working, {{0xFFFFFFF0, 0x20000, 0x20, 'N'}}, {}).error,
              NewRomError::TargetPastEnd);
}

TEST(NewRomRefusal, SourceRangePastTheEndOfTheImage) {
    const Bytes working = MakeSwappedRom(12);
    EXPECT_EQ(BuildNewImage(working, {{0x10000, ROM_IMAGE_SIZE - 3, 3, 'N'}}, {}).error,
              NewRomError::None);
    const NewRomResult result = BuildNewImage(working, {{0x10000, ROM_IMAGE_SIZE - 3, 4, 'N'}}, {});
    EXPECT_EQ(result.error, NewRomError::SourcePastEnd);
    const NewRomResult unknown = BuildNewImage(working, {{0x10000, UNKNOWN_SOURCE, 4, 'N'}}, {});
    EXPECT_EQ(unknown.error, NewRomError::SourcePastEnd);
}

TEST(NewRomRefusal, UserBitmapThatCannotBeConverted) {
    TempFolder folder;
    const auto bitmap = folder.Write("romimages/User/bad.bmp", Bytes{'B', 'M', 1, 2, 3});
    SizeClassTable table;
    FillCatalogue(table, bitmap);
    Replace(table, CLASS_N, 0, USER_CLASS, 0, 0x40);
    const NewRomResult result = BuildNewImage(MakeSwappedRom(13), CollectPendingReplacements(table),
                                              UserRecordsFromCatalogue(table));
    EXPECT_EQ(result.error, NewRomError::UserBitmap);
    EXPECT_NE(result.convertResult, ConvertResult::Ok);
    EXPECT_EQ(result.userName, "bad.bmp");
}

TEST(NewRomRefusal, UserNumberThatNamesNoLoadedBitmap) {
    SizeClassTable table;  // no User bitmaps at all
    const NewRomResult result =
        BuildNewImage(MakeSwappedRom(14), {{0x10000, 3, 4, 'N'}}, UserRecordsFromCatalogue(table));
    EXPECT_EQ(result.error, NewRomError::UserBitmap);
    EXPECT_EQ(result.convertResult, ConvertResult::CannotOpen);
    EXPECT_EQ(result.userName, "User bitmap number 3");
}

TEST(NewRomRefusal, WorkingImageOfTheWrongSizeOrOrder) {
    Bytes working = MakeSwappedRom(15);
    Bytes shorter(working.begin(), working.end() - 2);
    const NewRomResult wrongSize = BuildNewImage(shorter, {}, {});
    EXPECT_EQ(wrongSize.error, NewRomError::WorkingWrongSize);
    EXPECT_EQ(wrongSize.workingLength, ROM_IMAGE_SIZE - 2);
    SwapBytePairs(working);  // native order now
    EXPECT_EQ(BuildNewImage(working, {}, {}).error, NewRomError::WorkingNotSwapped);
}

// --- Files: written whole or not at all ---------------------------------------------------------

TEST(NewRomFiles, OutputIsSwappedWhateverTheExtensionAndSavingTwiceGivesTheSameBytes) {
    TempFolder folder;
    const Bytes working = MakeSwappedRom(16);
    const auto workingPath = folder.Write("working.rom", working);
    const std::vector<PendingReplacement> pending = {{0x10000, 0x20001, 0x41, 'N'}};
    const Bytes expected = BuildNewImage(working, pending, {}).image;
    ASSERT_EQ(ReadMarker(expected), RomMarker::Swapped);

    for (const char* name : {"new.rom", "new.v64", "new", "new.rom"}) {
        const NewRomResult result = SaveNewRomFile(workingPath, folder / name, pending, {});
        ASSERT_EQ(result.error, NewRomError::None);
        EXPECT_EQ(ReadAllBytes(folder / name), expected) << name;
        EXPECT_EQ(result.image, expected);
    }
    EXPECT_EQ(ReadAllBytes(workingPath), working);  // never written
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"new", "new.rom", "new.v64", "working.rom"}));
}

TEST(NewRomFiles, TheWorkingRomItselfIsRefusedAsOutput) {
    TempFolder folder;
    const Bytes working = MakeSwappedRom(18);
    const auto workingPath = folder.Write("working.rom", working);
    std::filesystem::create_directory(folder / "sub");
    for (const auto& output : {workingPath, folder.Path() / "sub" / ".." / "working.rom"}) {
        const NewRomResult result =
            SaveNewRomFile(workingPath, output, {{0x10000, 0x20000, 4, 'N'}}, {});
        EXPECT_EQ(result.error, NewRomError::SameAsWorking) << output;
    }
    std::filesystem::create_hard_link(workingPath, folder / "link.rom");
    EXPECT_EQ(SaveNewRomFile(workingPath, folder / "link.rom", {}, {}).error,
              NewRomError::SameAsWorking);
    EXPECT_EQ(ReadAllBytes(workingPath), working);
}

TEST(NewRomFiles, UnreadableOrWrongWorkingRomWritesNothing) {
    TempFolder folder;
    const auto output = folder / "out.rom";
    EXPECT_EQ(SaveNewRomFile(folder / "missing.rom", output, {}, {}).error,
              NewRomError::CannotReadWorking);
    const auto shortRom = folder.Write("short.rom", Bytes(100, 0));
    const NewRomResult wrongSize = SaveNewRomFile(shortRom, output, {}, {});
    EXPECT_EQ(wrongSize.error, NewRomError::WorkingWrongSize);
    EXPECT_EQ(wrongSize.workingLength, 100u);
    EXPECT_FALSE(std::filesystem::exists(output));
    // A refused build leaves an existing output and no temporary file.
    const auto workingPath = folder.Write("working.rom", MakeSwappedRom(17));
    const auto existing = folder.Write("old.rom", Bytes{1, 2, 3});
    EXPECT_EQ(SaveNewRomFile(workingPath, existing,
                             {{0x10000, 0x20000, 9, 'N'}, {0x10008, 0x20000, 1, 'N'}}, {})
                  .error,
              NewRomError::Overlap);
    EXPECT_EQ(ReadAllBytes(existing), (Bytes{1, 2, 3}));
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"old.rom", "short.rom", "working.rom"}));
}

TEST(NewRomFiles, FailedWriteOnAFullDiskLeavesTheOldOutputAndNoTemporaryFile) {
    TempFolder folder;
    const auto workingPath = folder.Write("working.rom", MakeSwappedRom(19));
    const Bytes old(1000, 0x5A);
    const auto output = folder.Write("out.rom", old);
    // The child may write at most 1 MiB to any file: the 12 MiB image cannot be written.
    const int status = rom_test::RunWithFileSizeLimit(1 << 20, [&] {
        const NewRomResult result =
            SaveNewRomFile(workingPath, output, {{0x10000, 0x20000, 4, 'N'}}, {});
        if (result.error != NewRomError::CannotWrite) {
            return 1;
        }
        return result.detail.find("out.rom") == std::string::npos ? 2 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAllBytes(output), old);
    EXPECT_EQ(rom_test::Entries(folder.Path()),
              (std::vector<std::string>{"out.rom", "working.rom"}));
}

TEST(NewRomFiles, FullSmallFileSystemLeavesTheOldOutputAndNoTemporaryFile) {
    TempFolder folder;
    const auto workingPath = folder.Write("working.rom", MakeSwappedRom(20));
    const auto disk = folder / "disk";
    rom_test::SmallFileSystem small(disk, "1m");
    if (!small.Mounted()) {
        GTEST_SKIP() << "no permission to mount a file system here";
    }
    const Bytes old(1000, 0x5A);
    const auto output = folder.Write("disk/out.rom", old);
    const NewRomResult result =
        SaveNewRomFile(workingPath, output, {{0x10000, 0x20000, 4, 'N'}}, {});
    EXPECT_EQ(result.error, NewRomError::CannotWrite);
    EXPECT_EQ(ReadAllBytes(output), old);
    EXPECT_EQ(rom_test::Entries(disk), std::vector<std::string>{"out.rom"});
}

// --- SameFile -----------------------------------------------------------------------------------

TEST(NewRomSameFile, SpellingsLinksAndDifferentFiles) {
    TempFolder folder;
    const auto a = folder.Write("a.rom", Bytes{1});
    const auto b = folder.Write("b.rom", Bytes{1});
    EXPECT_TRUE(SameFile(a, a));
    EXPECT_TRUE(SameFile(a, folder.Path() / "." / "a.rom"));
    EXPECT_FALSE(SameFile(a, b));
    EXPECT_FALSE(SameFile(a, folder / "missing.rom"));
    EXPECT_TRUE(SameFile(folder / "missing.rom", folder.Path() / "." / "missing.rom"));
    std::filesystem::create_symlink(a, folder / "sym.rom");
    EXPECT_TRUE(SameFile(a, folder / "sym.rom"));
}
