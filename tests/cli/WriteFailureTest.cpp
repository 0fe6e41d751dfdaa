// Every writing command of mgromtool, run with each file operation of a successful run failing in
// turn: the command must say so and fail, leave its earlier output as it was and leave no
// temporary file anywhere in the folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "cli/RomBuildCommands.h"
#include "cli/RomCommands.h"
#include "cli/TextureCommands.h"
#include "io/FileOps.h"
#include "romio/Patch.h"
#include "romio/RomTestSupport.h"

namespace {

namespace fs = std::filesystem;

// A command that makes more steps than twice this is failed at its first and last ones.
constexpr int EDGE_STEPS = 12;
using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

struct Case {
    const char* name;
    std::function<int(const Args&)> command;
    Args args;           // file names below the folder
    std::string output;  // pre-created with known bytes: must survive every failure
};

// Every name below the folder, sorted: a temporary file left behind shows.
std::vector<std::string> Names(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes Bitmap() {
    TestBitmap bitmap;
    bitmap.width = 16;
    bitmap.height = 8;
    bitmap.table = DistinctTable(20);
    for (int i = 0; i < 16 * 8; ++i) {
        bitmap.pixels.push_back(static_cast<std::uint8_t>(i * 3 % 20));
    }
    return bitmap.Build();
}

}  // namespace

TEST(WriteFailure, EveryStepOfEveryWritingCommandFailsCleanly) {
    TempFolder folder;
    const Bytes working = rom_test::MakeSwappedRom(50);
    Bytes changed = working;
    changed[0x12345] ^= 0xFF;
    folder.Write("working.rom", working);
    folder.Write("changed.rom", changed);
    folder.Write("p.pat", MakePatch(working, changed, ImageOrder::Swapped).bytes);
    Bytes workingNative = working, changedNative = changed;
    SwapBytePairs(workingNative);
    SwapBytePairs(changedNative);
    folder.Write("p.ips", MakeIpsPatch(workingNative, changedNative));
    folder.Write("in.bin", Bytes{1, 2, 3, 4});
    folder.Write("face.bmp", Bitmap());
    folder.Write("kit/romimages/08 08/010000.bmp", Bytes{});
    folder.Write("kit/romimages/08 08/010400.bmp", Bytes{});
    const std::vector<Case> cases = {
        {"swap", RunSwap, {"in.bin", "out.bin"}, "out.bin"},
        {"compress", RunCompress, {"face.bmp", "out.bin"}, "out.bin"},
        {"preview", RunPreview, {"face.bmp", "out.bmp"}, "out.bmp"},
        {"build",
         [&](const Args& a) { return RunBuild(a, folder.Path()); },
         {"working.rom", "out.rom", "--catalogue", "kit", "--replace", "10000=10400"},
         "out.rom"},
        {"diff", RunDiff, {"working.rom", "changed.rom", "out.pat"}, "out.pat"},
        {"apply", RunApply, {"working.rom", "p.pat", "out.rom"}, "out.rom"},
        {"diff bps", RunDiff, {"working.rom", "changed.rom", "out.bps"}, "out.bps"},
        {"apply ips", RunApply, {"working.rom", "p.ips", "out.rom"}, "out.rom"},
        // The README is the kit's last file: a failure anywhere leaves the old one.
        {"demo-kit", RunDemoKit, {"demo"}, "demo/README.txt"},
    };
    const Bytes old = {0x0D, 0x1D};
    int failures = 0;
    for (const Case& c : cases) {
        Args args = c.args;
        for (std::string& arg : args) {
            arg = arg.starts_with("-") || arg.find('=') != std::string::npos
                      ? arg
                      : (folder / arg).string();
        }
        auto run = [&] {
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            const int status = c.command(args);
            testing::internal::GetCapturedStdout();
            return std::make_pair(status, testing::internal::GetCapturedStderr());
        };
        ASSERT_EQ(run().first, 0) << c.name;  // makes the folders and description files
        folder.Write(c.output, old);
        const int steps = [&] {
            ScopedFileFault count;
            EXPECT_EQ(run().first, 0) << c.name;
            return count.Seen();
        }();
        ASSERT_GE(steps, 7) << c.name;  // open, write, sync, close, folder, link, rename...
        folder.Write(c.output, old);
        const std::vector<std::string> names = Names(folder.Path());
        // The demo kit's middle files are written as its first and last: those are skipped.
        for (int k = 1; k <= steps;
             k = k == EDGE_STEPS ? std::max(k, steps - EDGE_STEPS) + 1 : k + 1) {
            ++failures;
            const int error = std::vector<int>{ENOSPC, EIO, EACCES}[k % 3];
            ScopedFileFault fault(k, error);
            const auto [status, errors] = run();
            ASSERT_TRUE(fault.Fired()) << c.name << " step " << k;
            EXPECT_NE(status, 0) << c.name << " step " << k;
            EXPECT_NE(errors.find(std::generic_category().message(error)), std::string::npos)
                << c.name << " step " << k << ": " << errors;
            EXPECT_EQ(ReadAllBytes(folder / c.output), old) << c.name << " step " << k;
            EXPECT_EQ(Names(folder.Path()), names) << c.name << " step " << k;
        }
    }
    std::printf("%d (command, step) failures checked\n", failures);
}
