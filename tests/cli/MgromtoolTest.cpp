// Runs the built mgromtool binary (its path comes from the MGROMTOOL_PATH definition) and
// compares what it writes with the pipeline's own bytes.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "codec/UserImage.h"

#ifndef MGROMTOOL_PATH
#error "MGROMTOOL_PATH must name the mgromtool binary"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ToolRun {
    int status = -1;
    std::string errors;  // what the tool wrote to standard error
};

// Runs mgromtool with the arguments, each quoted for the shell.
ToolRun RunTool(const TempFolder& folder, const std::vector<std::string>& args) {
    std::string command = std::string("'") + MGROMTOOL_PATH + "'";
    for (const auto& arg : args) {
        command += " '" + arg + "'";
    }
    const auto errors = folder / "stderr.txt";
    command += " > /dev/null 2> '" + errors.string() + "'";
    ToolRun run;
    run.status = std::system(command.c_str());
    const Bytes text = ReadAllBytes(errors);
    run.errors.assign(text.begin(), text.end());
    std::filesystem::remove(errors);
    return run;
}

// An 8-bit bitmap, 16 x 8, with a 12-entry colour table: compressed at 4-bit depth.
Bytes SmallBitmap() {
    Bytes file = {'B', 'M', 0, 0, 0,  0, 0, 0, 0, 0, 54 + 48, 0, 0, 0,  // file header
                  40,  0,   0, 0, 16, 0, 0, 0, 8, 0, 0,       0,        // size, width, height
                  1,   0,   8, 0};                                      // planes, bit count
    file.resize(54, 0);
    for (int i = 0; i < 12; ++i) {  // colour table: blue, green, red, reserved
        file.insert(file.end(), {static_cast<std::uint8_t>(20 * i), 0x80,
                                 static_cast<std::uint8_t>(255 - 20 * i), 0});
    }
    for (int i = 0; i < 128; ++i) {
        file.push_back(static_cast<std::uint8_t>(i * 5 % 12));
    }
    return file;
}

}  // namespace

// --- Outputs: the same bytes as the pipeline ---------------------------------------------------

TEST(MgromtoolOutputs, CompressWritesTheRecordAndFormatGChangesItsCode) {
    TempFolder folder;
    const auto bitmap = folder.Write("face.bmp", SmallBitmap());
    const UserImage image = PrepareUserImage(SmallBitmap(), "N");
    ASSERT_EQ(image.result, ConvertResult::Ok);

    ASSERT_EQ(RunTool(folder, {"compress", bitmap.string(), (folder / "n.bin").string()}).status,
              0);
    EXPECT_EQ(ReadAllBytes(folder / "n.bin"), image.record);

    const auto g = folder / "g.bin";
    ASSERT_EQ(RunTool(folder, {"compress", bitmap.string(), g.string(), "--format", "G"}).status,
              0);
    Bytes expected = image.record;
    expected[0] = 0x0C;
    EXPECT_EQ(ReadAllBytes(g), expected);
}

TEST(MgromtoolOutputs, PreviewWritesThePreviewBitmap) {
    TempFolder folder;
    const auto bitmap = folder.Write("face.bmp", SmallBitmap());
    const auto out = folder / "output8.bmp";
    ASSERT_EQ(RunTool(folder, {"preview", bitmap.string(), out.string()}).status, 0);
    EXPECT_EQ(ReadAllBytes(out), MakePreviewBitmap(PrepareUserImage(SmallBitmap(), "N")));
}

// --- Refusals: a message, a failing status, and no output --------------------------------------

TEST(MgromtoolRefusals, RefusedBitmapsWriteNothingAndLeaveOldOutputs) {
    TempFolder folder;
    Bytes notBitmap = SmallBitmap();
    notBitmap[28] = 24;                                               // 24 bits per pixel
    Bytes tooMany = {'B', 'M', 0,  0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                     40,  0,   0,  0, 0, 1, 0, 0, 2, 0, 0,  0,        // 256 x 2
                     1,   0,   16, 0};                                // 16 bits per pixel
    tooMany.resize(54, 0);
    for (int i = 0; i < 512; ++i) {  // 512 distinct colours
        tooMany.push_back(static_cast<std::uint8_t>(i));
        tooMany.push_back(static_cast<std::uint8_t>(i >> 8));
    }
    Bytes cut = SmallBitmap();
    cut.resize(40);  // cut inside the info header
    const struct {
        Bytes file;
        std::string message;
    } cases[] = {{notBitmap, "Not a bitmap!"},
                 {tooMany, "Invalid 16-bit Bitmap - too many colors present"},
                 {cut, "The bitmap file is too short to hold its headers"}};

    const auto old = folder.Write("old.bin", Bytes{1, 2, 3});
    for (const auto& refused : cases) {
        const auto bitmap = folder.Write("refused.bmp", refused.file);
        const std::string& message = refused.message;
        for (const char* command : {"compress", "preview"}) {
            const auto fresh = folder / "fresh.out";
            ToolRun run = RunTool(folder, {command, bitmap.string(), fresh.string()});
            EXPECT_NE(run.status, 0) << command << ": " << message;
            EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
            EXPECT_FALSE(std::filesystem::exists(fresh)) << command << ": " << message;

            run = RunTool(folder, {command, bitmap.string(), old.string()});
            EXPECT_NE(run.status, 0);
            EXPECT_EQ(ReadAllBytes(old), (Bytes{1, 2, 3})) << command << ": " << message;
        }
    }
    const ToolRun missing =
        RunTool(folder, {"compress", (folder / "absent.bmp").string(), old.string()});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.errors.find("The bitmap file cannot be opened or read."), std::string::npos);
    EXPECT_EQ(ReadAllBytes(old), (Bytes{1, 2, 3}));
}

TEST(MgromtoolRefusals, WrongArgumentsAreUsageErrors) {
    TempFolder folder;
    const auto bitmap = folder.Write("face.bmp", SmallBitmap()).string();
    const auto out = (folder / "out.bin").string();
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"compress", bitmap},
                                               {"compress", bitmap, out, "--format", "X"},
                                               {"compress", bitmap, out, "--format"},
                                               {"preview", bitmap, out, "extra"},
                                               {"unknown"}}) {
        const ToolRun run = RunTool(folder, args);
        EXPECT_NE(run.status, 0) << args[0];
        EXPECT_NE(run.errors.find("Usage:"), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}
