// Every writing command of the editor, run with each file operation of a successful run failing in
// turn: the command must say what failed, leave the file it was replacing as it was, leave no
// temporary file behind, and leave the editor's state as it found it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string>
#include <system_error>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "demo/DemoKit.h"
#include "editor/Editor.h"
#include "io/FileOps.h"
#include "io/RomImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Every name below a folder: a temporary file left behind shows.
std::string Listing(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
}

// What a failed command must not change: the ROM paths, the source and every pending
// replacement.
std::string State(const Editor& editor) {
    std::string state = editor.WorkingRomPath().string() + "|" + editor.WorkingCopyPath().string() +
                        "|" + std::to_string(editor.Source().entryIndex) + "," +
                        std::to_string(editor.Source().sizeClass) + "|";
    for (const PendingReplacement& pending : CollectPendingReplacements(editor.Table())) {
        state += std::to_string(pending.targetOffset) + "=" + std::to_string(pending.length) + ";";
    }
    return state;
}

struct Case {
    const char* name;
    // Runs the command; returns what it reported as the failure, empty when it succeeded.
    std::function<std::string(Editor&)> command;
    std::vector<std::string> outputs;  // pre-created with known bytes; each must stay whole
};

}  // namespace

TEST(EditorWriteFailure, EveryStepOfEveryWritingCommandFailsCleanly) {
    TempFolder folder;
    const fs::path kit = folder / "kit";
    ASSERT_TRUE(MakeDemoKit(kit).ok);
    const fs::path work = folder / "work";
    fs::create_directories(work);
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    const fs::path rom = kit / DEMO_ROM_NAME;
    const fs::path face = folder.Write(
        "face.bmp",
        TestBitmap{.width = 16, .height = 8, .table = DistinctTable(20), .pixels = Bytes(128, 3)}
            .Build());

    // A loaded editor with one pending replacement, and what it saves.
    auto loaded = [&] {
        Editor editor(kit);
        EXPECT_EQ(editor.Load(rom).outcome, LoadOutcome::Loaded);
        editor.ChooseSource(0, 0);
        EXPECT_EQ(editor.Replace(0, 1, std::nullopt).verdict, ReplaceVerdict::Recorded);
        return editor;
    };
    const NewRomResult saved = loaded().SaveNewRom(folder / "new.rom");
    ASSERT_EQ(saved.error, NewRomError::None);
    ASSERT_EQ(loaded().WritePatch(saved.image, folder / "p.pat").error, PatchError::None);
    ASSERT_EQ(loaded().WritePatch(saved.image, folder / "p.ips", PatchFormat::Ips).error,
              PatchError::None);
    fs::remove(work / WORKING_COPY_NAME);

    const std::vector<Case> cases = {
        {"load (new working copy)",
         [&](Editor& e) { return e.Load(rom).writeError; },
         {WORKING_COPY_NAME}},
        {"insert user image",
         [&](Editor& e) { return e.InsertUserImage(face).writeError; },
         {"compressed.bin", "output8.bmp"}},
        {"save new ROM",
         [&](Editor& e) { return e.SaveNewRom(work / "out.rom").detail; },
         {"out.rom"}},
        {"patch",
         [&](Editor& e) { return e.WritePatch(saved.image, work / "out.pat").detail; },
         {"out.pat"}},
        {"apply patch",
         [&](Editor& e) { return e.ApplyPatch(folder / "p.pat", work / "out.rom").detail; },
         {"out.rom"}},
        {"bps patch",
         [&](Editor& e) {
             return e.WritePatch(saved.image, work / "out.bps", PatchFormat::Bps).detail;
         },
         {"out.bps"}},
        {"apply ips patch",
         [&](Editor& e) { return e.ApplyPatch(folder / "p.ips", work / "out.rom").detail; },
         {"out.rom"}},
    };
    const Bytes old = {0x0D, 0x1D};
    int failures = 0;
    for (const Case& c : cases) {
        const bool loads = std::string(c.name).starts_with("load");
        auto editorFor = [&] { return loads ? Editor(kit) : loaded(); };
        // One clean run gives each output's new bytes and the number of steps.
        for (const std::string& output : c.outputs) {
            folder.Write("work/" + output, old);
        }
        Editor counted = editorFor();
        int steps = 0;
        {
            ScopedFileFault count;
            ASSERT_EQ(c.command(counted), "") << c.name;
            steps = count.Seen();
        }
        std::vector<Bytes> written;
        for (const std::string& output : c.outputs) {
            written.push_back(ReadAllBytes(work / output));
        }
        ASSERT_GE(steps, 7) << c.name;
        for (int k = 1; k <= steps; ++k, ++failures) {
            for (const std::string& output : c.outputs) {
                folder.Write("work/" + output, old);
            }
            Editor editor = editorFor();
            const std::string before = State(editor);
            const std::string listing = Listing(folder.Path());
            const int error = std::vector<int>{ENOSPC, EIO, EACCES}[k % 3];
            std::string reported;
            {
                ScopedFileFault fault(k, error);
                reported = c.command(editor);
                ASSERT_TRUE(fault.Fired()) << c.name << " step " << k;
            }
            SCOPED_TRACE(std::string(c.name) + " step " + std::to_string(k));
            EXPECT_NE(reported.find(std::generic_category().message(error)), std::string::npos)
                << reported;
            EXPECT_EQ(State(editor), before);
            // Each output is either as it was or complete; the one being written is as it was.
            bool oneKept = false;
            for (std::size_t i = 0; i < c.outputs.size(); ++i) {
                const Bytes now = ReadAllBytes(work / c.outputs[i]);
                EXPECT_TRUE(now == old || now == written[i]);
                oneKept = oneKept || now == old;
            }
            EXPECT_TRUE(oneKept);
            EXPECT_EQ(Listing(folder.Path()), listing);
        }
    }
    fs::current_path(previous);
    std::printf("%d (command, step) failures checked\n", failures);
}
