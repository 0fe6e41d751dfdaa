#include "editor/Editor.h"

#include <gtest/gtest.h>

#include <memory>

#include "TempFolder.h"
#include "catalogue/Placeholder.h"
#include "catalogue/SizeClasses.h"
#include "demo/DemoKit.h"
#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "io/RomImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The demo kit in a temporary folder, with a work folder as the current folder. Class 0 holds
// textures at 0x10000 (room 0x17), 0x10018 (room 0x55) and 0x1006E (room 0x14D).
class EditorTest : public testing::Test {
protected:
    TempFolder folder;
    fs::path kit = folder / "kit";
    fs::path rom = kit / DEMO_ROM_NAME;
    fs::path previous = fs::current_path();
    std::unique_ptr<Editor> editor;

    void SetUp() override {
        ASSERT_TRUE(MakeDemoKit(kit).ok);
        fs::create_directories(folder / "work");
        fs::current_path(folder / "work");
        editor = std::make_unique<Editor>(kit);
    }
    void TearDown() override { fs::current_path(previous); }

    fs::path SwappedCopy() {
        Bytes bytes = ReadAllBytes(rom);
        SwapBytePairs(bytes);
        return folder.Write("MG.v64", bytes);
    }
    // Chooses entry `source` of class 0 and replaces entry `target` with it.
    ReplaceDecision ReplaceIn0(int source, int target,
                               const std::optional<std::string>& forced = std::nullopt) {
        editor->ChooseSource(0, source);
        return editor->Replace(0, target, forced);
    }
};

}  // namespace

TEST_F(EditorTest, NativeRomGetsASwappedWorkingCopyThatOnlyItsRemovalDeletes) {
    const LoadResult loaded = editor->Load(rom);
    ASSERT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.check.verdict, RomVerdict::Native);
    EXPECT_FALSE(loaded.imageTableMissing);
    EXPECT_TRUE(loaded.scan.classesWithoutBitmaps.empty() && loaded.scan.userRefusals.empty());
    const fs::path copy = fs::current_path() / WORKING_COPY_NAME;
    EXPECT_EQ(editor->WorkingRomPath(), copy);
    EXPECT_EQ(editor->WorkingCopyPath(), copy);
    EXPECT_EQ(ReadAllBytes(copy), ReadAllBytes(SwappedCopy()));
    EXPECT_EQ(editor->Table()[0].entryCount, 3u);
    EXPECT_EQ(editor->Table()[USER_CLASS].entryCount, 7u);
    // A second load writes over the same copy.
    Bytes changed = ReadAllBytes(rom);
    changed[0x50000] ^= 0xFF;
    ASSERT_EQ(editor->Load(folder.Write("second.rom", changed)).outcome, LoadOutcome::Loaded);
    SwapBytePairs(changed);
    EXPECT_EQ(ReadAllBytes(copy), changed);
    editor->RemoveWorkingCopy();
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(editor->WorkingCopyPath().empty());
}

TEST_F(EditorTest, SwappedRomIsUsedInPlaceAndNeverRemoved) {
    const fs::path swapped = SwappedCopy();
    ASSERT_EQ(editor->Load(swapped).check.verdict, RomVerdict::Swapped);
    EXPECT_EQ(editor->WorkingRomPath(), swapped);
    EXPECT_TRUE(editor->WorkingCopyPath().empty());
    editor->RemoveWorkingCopy();
    EXPECT_TRUE(fs::exists(swapped));
    EXPECT_FALSE(fs::exists(WORKING_COPY_NAME));
}

TEST_F(EditorTest, RefusedFilesLeaveTheEarlierLoadAlone) {
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    ReplaceIn0(0, 1);
    Bytes pal = ReadAllBytes(rom);
    pal[0x3E] = 0x50;
    const struct {
        fs::path path;
        RomVerdict verdict;
        std::uint64_t length;
    } cases[] = {{folder / "none.rom", RomVerdict::NotFound, 0},
                 {folder.Path(), RomVerdict::NotAFile, 0},
                 {folder.WriteText("hello.rom", "hello"), RomVerdict::WrongGame, 5},
                 {folder.Write("pal.rom", pal), RomVerdict::WrongRegion, ROM_IMAGE_SIZE},
                 {folder.Write("short.rom", Bytes(pal.begin(), pal.begin() + 64)),
                  RomVerdict::WrongRegion, 64}};
    for (const auto& refused : cases) {
        const LoadResult result = editor->Load(refused.path);
        EXPECT_EQ(result.outcome, LoadOutcome::RomRefused) << refused.path;
        EXPECT_EQ(result.check.verdict, refused.verdict) << refused.path;
        EXPECT_EQ(result.check.length, refused.length) << refused.path;
    }
    Bytes cut = ReadAllBytes(rom);
    cut.resize(4096);
    const LoadResult wrongSize = editor->Load(folder.Write("cut.rom", cut));
    EXPECT_EQ(wrongSize.check.verdict, RomVerdict::WrongSize);
    EXPECT_EQ(wrongSize.check.length, 4096u);
    EXPECT_EQ(editor->WorkingRomPath(), fs::current_path() / WORKING_COPY_NAME);
    EXPECT_EQ(editor->Table()[0].replacementSize[1], 0x17);
}

TEST_F(EditorTest, InspectShowsRoomPaletteAndUserFacts) {
    fs::remove(kit / "tableBinary.bin");
    ASSERT_TRUE(editor->Load(rom).imageTableMissing);
    TextureFacts facts = editor->Inspect(0, 1);
    EXPECT_EQ(facts.offset, 0x10018u);
    EXPECT_EQ(facts.room, 0x200u);
    EXPECT_EQ(facts.paletteByte, std::optional<std::uint8_t>(15));
    MakeDemoKit(kit);
    EXPECT_EQ(editor->Inspect(0, 1).room, 0x55u);
    EXPECT_EQ(
        (std::vector<std::uint32_t>{editor->Room(0, 0), editor->Room(0, 1), editor->Room(0, 2)}),
        (std::vector<std::uint32_t>{0x17, 0x55, 0x14D}));
    // A table that exists but cannot be read is told apart from a missing one.
    fs::remove(kit / "tableBinary.bin");
    fs::create_directory(kit / "tableBinary.bin");
    const LoadResult unreadable = editor->Load(rom);
    EXPECT_TRUE(unreadable.imageTableUnreadable && !unreadable.imageTableMissing);
    facts = editor->Inspect(USER_CLASS, 0);
    EXPECT_TRUE(facts.user);
    EXPECT_EQ(facts.convert, ConvertResult::Ok);
    EXPECT_EQ(facts.width, 72);
    EXPECT_GT(facts.compressedSize, 0u);
}

TEST_F(EditorTest, ReplaceDecidesInOrderAndRecords) {
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(editor->Replace(0, 1, std::nullopt).verdict, ReplaceVerdict::NoSource);
    EXPECT_EQ(editor->Replace(USER_CLASS, -1, std::nullopt).verdict, ReplaceVerdict::UserTarget);
    EXPECT_EQ(editor->Replace(0, -1, std::nullopt).verdict, ReplaceVerdict::NoTarget);
    EXPECT_EQ(ReplaceIn0(1, 1).verdict, ReplaceVerdict::SameImage);
    const ReplaceDecision tooLarge = ReplaceIn0(2, 0);
    EXPECT_EQ(tooLarge.verdict, ReplaceVerdict::TooLarge);
    EXPECT_EQ(tooLarge.room, 0x17u);
    EXPECT_EQ(tooLarge.sourceSize, 0x14Du);
    EXPECT_EQ(editor->Table()[0].replacementSize[0], 0);
    EXPECT_EQ(ReplaceIn0(2, 0, "1fZ").replacementSize, 0x1F);  // forced: parsed as hexadecimal
    const ReplaceDecision fits = ReplaceIn0(0, 1);
    ASSERT_EQ(fits.verdict, ReplaceVerdict::Recorded);
    const SizeClassRecord& record = editor->Table()[0];
    EXPECT_EQ(record.replacementIndex[1], 0u);
    EXPECT_EQ(record.replacementSize[1], 0x17);
    EXPECT_EQ(record.imagePath[1], record.imagePath[0]);
    // Sizes compare as signed values: a huge size passes, and is stored in 16 bits.
    SizeClassTable table;
    table.AppendEntry(0, "a.bmp", 0x10000, 8, 8);
    const ReplaceDecision huge =
        DecideReplacement(table, std::nullopt, 0, 0, {1, 0, 0x80000123}, std::nullopt);
    EXPECT_EQ(huge.verdict, ReplaceVerdict::Recorded);
    EXPECT_EQ(huge.replacementSize, 0x123);
    // A load forgets the source.
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(editor->Replace(0, 1, std::nullopt).verdict, ReplaceVerdict::NoSource);
}

TEST_F(EditorTest, ReplaceGivesWhatUndoNeedsAndSavingMarksReplacementsWritten) {
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    const SizeClassRecord& record = editor->Table()[0];
    const ReplacementSlot own = editor->Slot(0, 2);
    EXPECT_EQ(own, (ReplacementSlot{NO_REPLACEMENT, own.replacementClass, 0, record.imagePath[2]}));
    editor->ChooseSource(USER_CLASS, 0);
    ReplacementSlot previous;
    ASSERT_EQ(editor->Replace(0, 2, std::nullopt, &previous).verdict, ReplaceVerdict::Recorded);
    EXPECT_EQ(previous, own);
    const ReplacementSlot replaced = editor->Slot(0, 2);
    const std::optional<PendingSource> pending = editor->Pending(0, 2);
    ASSERT_TRUE(pending);
    EXPECT_TRUE(pending->user);
    EXPECT_EQ(pending->fileName, fs::path(record.imagePath[2]).filename());
    EXPECT_EQ(pending->size, replaced.replacementSize);
    EXPECT_TRUE(editor->HasUnsavedReplacements());
    editor->RestoreSlot(0, 2, own);  // undo
    EXPECT_EQ(editor->Slot(0, 2), own);
    EXPECT_EQ(editor->Pending(0, 2), std::nullopt);
    EXPECT_FALSE(editor->HasUnsavedReplacements());
    editor->RestoreSlot(0, 2, replaced);  // redo
    EXPECT_EQ(editor->SaveNewRom(folder.Path()).error, NewRomError::CannotWrite);
    EXPECT_TRUE(editor->HasUnsavedReplacements());
    ASSERT_EQ(editor->SaveNewRom("new.rom").error, NewRomError::None);
    EXPECT_FALSE(editor->HasUnsavedReplacements());
    ReplaceIn0(0, 1);
    EXPECT_EQ(editor->Pending(0, 1)->offset, 0x10000u);
    EXPECT_EQ(editor->PendingCount(), 2u);
    EXPECT_TRUE(editor->HasUnsavedReplacements());
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(editor->PendingCount(), 0u);
    EXPECT_FALSE(editor->HasUnsavedReplacements());
}

TEST_F(EditorTest, AUserBitmapTheCodecRefusesIsNoSource) {
    Bytes header(54, 0);  // accepted by the scan's header check, refused by the codec
    header[0] = 'B';
    header[1] = 'M';
    header[18] = 16;
    header[22] = 16;
    header[28] = 8;
    folder.Write("kit/romimages/User/a cut.bmp", header);
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    editor->ChooseSource(0, 2);
    EXPECT_NE(editor->ChooseSource(USER_CLASS, 0).convert, ConvertResult::Ok);
    EXPECT_EQ(editor->Source().entryIndex, 2u);
    EXPECT_EQ(editor->Source().size, 0x14Du);
}

TEST_F(EditorTest, SaveThenPatchThenApplyAfterTheirChecks) {
    EXPECT_EQ(editor->CheckSave(), RomReadiness::NoRomOpened);
    EXPECT_EQ(editor->CheckApply(), RomReadiness::NoRomOpened);
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(editor->CheckSave(), RomReadiness::NoChanges);
    ReplaceIn0(0, 1);
    ASSERT_EQ(editor->CheckSave(), RomReadiness::Ready);
    const NewRomResult saved = editor->SaveNewRom("new.rom");
    ASSERT_EQ(saved.error, NewRomError::None);
    EXPECT_EQ(ReadAllBytes("new.rom"), saved.image);
    ASSERT_EQ(editor->WritePatch(saved.image, "p.pat").error, PatchError::None);
    EXPECT_EQ(editor->CheckPatch("p.pat").error, PatchError::None);
    EXPECT_EQ(editor->CheckPatch("missing.pat").error, PatchError::CannotRead);
    folder.Write("work/bad.pat", Bytes{1, 0});
    EXPECT_EQ(editor->CheckPatch("bad.pat").error, PatchError::NoRecordCount);
    ASSERT_EQ(editor->ApplyPatch("p.pat", "patched.rom").error, PatchError::None);
    EXPECT_EQ(ReadAllBytes("patched.rom"), saved.image);
    // A working ROM that no longer reads as swapped ends both commands silently.
    const fs::path swapped = SwappedCopy();
    ASSERT_EQ(editor->Load(swapped).outcome, LoadOutcome::Loaded);
    ReplaceIn0(0, 1);
    fs::copy_file(rom, swapped, fs::copy_options::overwrite_existing);
    EXPECT_EQ(editor->CheckSave(), RomReadiness::NotSwapped);
    EXPECT_EQ(editor->CheckApply(), RomReadiness::NotSwapped);
    // One that is gone is no silent end: the window says why.
    fs::remove(swapped);
    EXPECT_EQ(editor->CheckSave(), RomReadiness::Unreadable);
    EXPECT_EQ(editor->CheckApply(), RomReadiness::Unreadable);
}

TEST_F(EditorTest, IpsAndBpsPatchesRoundTripAndRefusalsWriteNothing) {
    EXPECT_EQ(editor->NativeCrc32(), std::nullopt);
    ASSERT_EQ(editor->Load(rom).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(editor->NativeCrc32(), Crc32(ReadAllBytes(rom)));
    ReplaceIn0(0, 1);
    const NewRomResult saved = editor->SaveNewRom("new.rom");
    ASSERT_EQ(saved.error, NewRomError::None);
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        ASSERT_EQ(editor->WritePatch(saved.image, "p.x", format).error, PatchError::None);
        EXPECT_EQ(DetectPatchFormat(ReadAllBytes("p.x")), format);
        EXPECT_EQ(editor->CheckPatch("p.x").error, PatchError::None);
        ASSERT_EQ(editor->ApplyPatch("p.x", "patched.rom").error, PatchError::None);
        EXPECT_EQ(ReadAllBytes("patched.rom"), saved.image);
        fs::remove("patched.rom");
    }
    // A BPS patch made from the swapped-order files as if they were native: the source CRC is
    // that of the other byte order.
    const Bytes working = ReadAllBytes(editor->WorkingRomPath());
    folder.Write("work/v64.bps", MakeBpsPatch(working, saved.image));
    const PatchReadResult checked = editor->CheckPatch("v64.bps");
    EXPECT_EQ(checked.error, PatchError::BpsRefused);
    EXPECT_EQ(checked.bps.code, BpsCode::SourceChecksumMismatch);
    EXPECT_EQ(checked.bps.expectedCrc, Crc32(working));
    EXPECT_EQ(checked.bps.actualCrc, editor->NativeCrc32());
    EXPECT_TRUE(checked.bps.matchesOtherByteOrder);
    const PatchApplyResult applied = editor->ApplyPatch("v64.bps", "patched.rom");
    EXPECT_EQ(applied.error, PatchError::BpsRefused);
    EXPECT_EQ(applied.patch.bps.code, BpsCode::SourceChecksumMismatch);
    const Bytes outside = {'P', 'A', 'T', 'C', 'H', 0xBF, 0xFF, 0xFF, 0, 2, 1, 2, 'E', 'O', 'F'};
    folder.Write("work/outside.ips", outside);
    EXPECT_EQ(editor->ApplyPatch("outside.ips", "patched.rom").patch.ips.code,
              IpsCode::RecordOutsideImage);
    EXPECT_FALSE(fs::exists("patched.rom"));
}

TEST_F(EditorTest, InsertUserImageAndThePlaceholderWriteTheirFiles) {
    const fs::path sun = kit / "romimages" / "User" / "sun 8x8 4-bit.bmp";
    fs::copy_file(sun, "SUN.BMP");
    EXPECT_EQ(editor->InsertUserImage("SUN.BMP").outcome, InsertOutcome::NotBmpName);
    const InsertResult refused = editor->InsertUserImage(folder.WriteText("no.bmp", "no"));
    EXPECT_EQ(refused.outcome, InsertOutcome::Refused);
    EXPECT_FALSE(fs::exists("compressed.bin"));
    EXPECT_EQ(editor->InsertUserImage(sun).outcome, InsertOutcome::Written);
    EXPECT_TRUE(fs::exists("compressed.bin") && fs::exists("output8.bmp"));
    const fs::path placeholder = editor->WritePlaceholder();
    EXPECT_EQ(placeholder, kit / "romimages" / PLACEHOLDER_BITMAP_NAME);
    EXPECT_EQ(ReadAllBytes(placeholder),
              Bytes(PLACEHOLDER_BITMAP.begin(), PLACEHOLDER_BITMAP.end()));
}
