#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "cli/RomCommands.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

template <typename Command>
ToolRun Capture(Command command, const Args& args) {
    ToolRun run;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    run.status = command(args);
    run.out = testing::internal::GetCapturedStdout();
    run.err = testing::internal::GetCapturedStderr();
    return run;
}

// A whole image with the given marker and bytes at 0x3E and 0x3F; the rest varies by position.
Bytes Image(const char* marker, std::uint8_t at3E, std::uint8_t at3F,
            std::size_t size = ROM_IMAGE_SIZE) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
    }
    std::memcpy(image.data() + 0x20, marker, 4);
    image[0x3E] = at3E;
    image[0x3F] = at3F;
    return image;
}

}  // namespace

// --- check: accepted images -----------------------------------------------------------------

TEST(CheckCommandAccepts, PrintsExactlyTheOrder) {
    TempFolder folder;
    const ToolRun native =
        Capture(RunCheck, {folder.Write("a.rom", Image("MOON", 0x45, 0)).string()});
    EXPECT_EQ(native.status, 0);
    EXPECT_EQ(native.out, "native\n");
    EXPECT_EQ(native.err, "");
    const ToolRun swapped =
        Capture(RunCheck, {folder.Write("b.v64", Image("OMNO", 0, 0x45)).string()});
    EXPECT_EQ(swapped.status, 0);
    EXPECT_EQ(swapped.out, "swapped\n");
}

// --- check: refusals ------------------------------------------------------------------------

TEST(CheckCommandRefuses, WrongGameRegionAndSizeWithTheEditorsTexts) {
    TempFolder folder;
    struct Case {
        Bytes file;
        std::string text;
    };
    const Case cases[] = {
        {Image("OMNO", 0x01, 0x45), "Not a Moonglass ROM"},
        {Image("OMNO", 0x00, 0x50), "Only NTSC MG ROM Allowed"},
        {Image("MOON", 0x4A, 0x00), "Only NTSC MG ROM Allowed"},
        {Image("MOON", 0x45, 0x00, 0x100000),
         "the file is 1048576 bytes long, a ROM image is exactly 12582912 bytes."},
        {Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "Not a Moonglass ROM"},
        {Bytes{}, "Not a Moonglass ROM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ToolRun run = Capture(RunCheck, {folder.Write("x.rom", c.file).string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.text), std::string::npos) << run.err;
    }
}

TEST(CheckCommandRefuses, MissingOrUnreadableFile) {
    TempFolder folder;
    const ToolRun missing = Capture(RunCheck, {(folder / "nothing.rom").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Invalid File Specified"), std::string::npos);
    const ToolRun folderAsRom = Capture(RunCheck, {folder.Path().string()});
    EXPECT_EQ(folderAsRom.status, 1);
    EXPECT_NE(folderAsRom.err.find("The ROM image cannot be opened or read."), std::string::npos);
}

TEST(CheckCommandRefuses, WrongArgumentCount) {
    EXPECT_EQ(Capture(RunCheck, {}).status, 2);
    EXPECT_EQ(Capture(RunCheck, {"a", "b"}).status, 2);
}

// --- swap: output -----------------------------------------------------------------------------

TEST(SwapCommandWrites, EveryPairExchangedAndRoundTrip) {
    TempFolder folder;
    const Bytes native = Image("MOON", 0x45, 0x00);
    const fs::path in = folder.Write("in.rom", native);
    const ToolRun first = Capture(RunSwap, {in.string(), (folder / "out.v64").string()});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "");
    Bytes expected = native;
    SwapBytePairs(expected);
    EXPECT_TRUE(ReadAllBytes(folder / "out.v64") == expected);
    EXPECT_EQ(Capture(RunCheck, {(folder / "out.v64").string()}).out, "swapped\n");
    ASSERT_EQ(
        Capture(RunSwap, {(folder / "out.v64").string(), (folder / "back.rom").string()}).status,
        0);
    EXPECT_TRUE(ReadAllBytes(folder / "back.rom") == native);
}

TEST(SwapCommandWrites, AnyEvenFileAndReplacesAnExistingOutput) {
    TempFolder folder;
    const fs::path in = folder.Write("small.bin", Bytes{1, 2, 3, 4});
    const fs::path out = folder.Write("old.bin", Bytes(100, 9));
    ASSERT_EQ(Capture(RunSwap, {in.string(), out.string()}).status, 0);
    EXPECT_EQ(ReadAllBytes(out), (Bytes{2, 1, 4, 3}));
    const fs::path empty = folder.Write("empty.bin", Bytes{});
    ASSERT_EQ(Capture(RunSwap, {empty.string(), (folder / "empty.out").string()}).status, 0);
    EXPECT_TRUE(fs::exists(folder / "empty.out"));
    EXPECT_TRUE(ReadAllBytes(folder / "empty.out").empty());
}

// --- swap: refusals ---------------------------------------------------------------------------

TEST(SwapCommandRefuses, SameFileUnderAnyName) {
    TempFolder folder;
    const Bytes bytes = {1, 2, 3, 4};
    const fs::path in = folder.Write("in.rom", bytes);
    fs::create_directory(folder / "sub");
    fs::create_hard_link(in, folder / "hard.rom");
    fs::create_symlink(in, folder / "soft.rom");
    const std::string names[] = {in.string(), (folder / "sub" / ".." / "in.rom").string(),
                                 (folder / "hard.rom").string(), (folder / "soft.rom").string()};
    for (const std::string& out : names) {
        SCOPED_TRACE(out);
        const ToolRun run = Capture(RunSwap, {in.string(), out});
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(ReadAllBytes(in), bytes);
    }
}

TEST(SwapCommandRefuses, OddLengthMissingInputAndUnwritableOutput) {
    TempFolder folder;
    const fs::path odd = folder.Write("odd.bin", Bytes{1, 2, 3});
    const ToolRun oddRun = Capture(RunSwap, {odd.string(), (folder / "odd.out").string()});
    EXPECT_EQ(oddRun.status, 1);
    EXPECT_NE(oddRun.err.find("odd"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "odd.out"));

    const ToolRun missing = Capture(RunSwap, {(folder / "none").string(), (folder / "x").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(folder / "x"));

    const fs::path in = folder.Write("in.bin", Bytes{1, 2});
    const ToolRun unwritable =
        Capture(RunSwap, {in.string(), (folder / "no" / "such" / "x").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_FALSE(unwritable.err.empty());

    const ToolRun folderIn = Capture(RunSwap, {folder.Path().string(), (folder / "y").string()});
    EXPECT_EQ(folderIn.status, 1);
    EXPECT_FALSE(fs::exists(folder / "y"));
}

TEST(SwapCommandRefuses, WrongArgumentCount) {
    EXPECT_EQ(Capture(RunSwap, {"only-one"}).status, 2);
    EXPECT_EQ(Capture(RunSwap, {"a", "b", "c"}).status, 2);
}

// --- demo-kit ---------------------------------------------------------------------------------

TEST(DemoKitCommand, WritesTheKitAndSaysSo) {
    TempFolder folder;
    const fs::path dir = folder / "new" / "kit";
    const ToolRun run = Capture(RunDemoKit, {dir.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("MOONGLASS.ROM"), std::string::npos);
    EXPECT_EQ(Capture(RunCheck, {(dir / "MOONGLASS.ROM").string()}).out, "native\n");
    EXPECT_EQ(Capture(RunDemoKit, {}).status, 2);
    const fs::path blocker = folder.WriteText("blocker", "x");
    EXPECT_EQ(Capture(RunDemoKit, {(blocker / "kit").string()}).status, 1);
}
