// mgromtool's commands, called in process on a small catalogue made here and run as the built
// binary (MGROMTOOL_PATH): outputs are compared with the core's own bytes, refusals with the
// exact lines and statuses.

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/ParseHex.h"
#include "cli/RomBuildCommands.h"
#include "cli/RomCommands.h"
#include "codec/UserImage.h"
#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/RomTestSupport.h"
#include "romio/SharedPatch.h"
#include "texts/RefusalTexts.h"

namespace {

namespace fs = std::filesystem;
using rom_test::Bytes;
using Args = std::vector<std::string>;

// Class "08 08" (format N) at A, B, C, D and E, class "10 10G" (G) at G. E lies 0x200 behind A
// and is not in the image table; the rooms are A 0x3FF, B 0x3FF, C 0x7FF, D 0xFFF.
constexpr std::uint32_t A = 0x10000, E = 0x10200, B = 0x10400, C = 0x10800, D = 0x11000,
                        G = 0x20000;

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome Call(const std::function<int(const Args&)>& command, const Args& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome run;
    run.status = command(args);
    run.out = testing::internal::GetCapturedStdout();
    run.err = testing::internal::GetCapturedStderr();
    return run;
}

Outcome RunTool(const TempFolder& folder, const Args& args) {
    std::string command = std::string("'") + MGROMTOOL_PATH + "'";
    for (const auto& arg : args) {
        command += " '" + arg + "'";
    }
    const auto errors = folder / "stderr.txt";
    const int status = std::system((command + " > /dev/null 2> '" + errors.string() + "'").c_str());
    const Bytes text = ReadAllBytes(errors);
    return {WEXITSTATUS(status), "", std::string(text.begin(), text.end())};
}

// "TARGET=SOURCE" for build.
std::string Pair(std::uint32_t target, const std::string& source) {
    return HexText(target) + "=" + source;
}
std::string Pair(std::uint32_t target, std::uint32_t source) {
    return Pair(target, HexText(source));
}

// An 8-bit bitmap of `width` x 8 pixels with 20 colours.
Bytes UserBitmap(int width = 16) {
    TestBitmap bitmap;
    bitmap.width = width;
    bitmap.height = 8;
    bitmap.table = DistinctTable(20);
    bitmap.pixels = Bytes(static_cast<std::size_t>(width) * 8, 7);
    return bitmap.Build();
}

// The catalogue above with the User bitmap "Face.bmp" and "wide.bmp", which the scan refuses.
struct Kit {
    TempFolder folder;
    fs::path catalogue = folder / "kit";
    Bytes workingBytes = rom_test::MakeSwappedRom(40);
    fs::path working = folder.Write("working.rom", workingBytes);

    Kit() {
        for (const std::uint32_t offset : {A, B, C, D, E}) {
            folder.Write("kit/romimages/08 08/0" + HexText(offset) + ".bmp", Bytes{});
        }
        folder.Write("kit/romimages/10 10G/0" + HexText(G) + ".bmp", Bytes{});
        folder.Write("kit/romimages/User/Face.bmp", UserBitmap());
        folder.Write("kit/romimages/User/wide.bmp", UserBitmap(100));
        Bytes table;
        for (const std::uint32_t v : {A - 1, B - 1, C - 1, D - 1, D + 0xFFF, G - 1, G + 0x7FF}) {
            for (int i = 0; i < 4; ++i) {
                table.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            }
        }
        folder.Write("kit/tableBinary.bin", table);
    }
    std::string operator/(const std::string& name) const { return (folder / name).string(); }
    Outcome Build(const Args& pairs) const {
        Args args = {working.string(), *this / "out.rom", "--catalogue", catalogue.string(),
                     "--replace"};
        args.insert(args.end(), pairs.begin(), pairs.end());
        return Call([&](const Args& all) { return RunBuild(all, folder / "elsewhere"); }, args);
    }
    Bytes Expected(const std::vector<PendingReplacement>& pending) const {
        const auto user = [](std::uint32_t, char flag) {
            return MakeUserRecord(PrepareUserImage(UserBitmap(), std::string(1, flag)), "Face.bmp");
        };
        return BuildNewImage(workingBytes, pending, user).image;
    }
};

}  // namespace

TEST(CheckCommand, PrintsTheOrderOrTheRefusalWithItsStatus) {
    TempFolder folder;
    Bytes native = rom_test::MakeNativeRom(1);
    Bytes pal = native;
    pal[0x3E] = 0x50;
    const std::pair<fs::path, std::string> cases[] = {
        {folder.Write("n.rom", native), "native\n"},
        {folder.Write("s.rom", rom_test::MakeSwappedRom(1)), "swapped\n"},
        {folder.Write("pal.rom", pal), "Only NTSC MG ROM Allowed"},
        {folder.WriteText("hello.rom", "hello"), "Not a Moonglass ROM"},
        {folder.Write("short.rom", Bytes(native.begin(), native.begin() + 64)),
         "Not a Moonglass ROM image: the file is 64 bytes long, a ROM image is exactly 12582912 "
         "bytes."},
        {folder / "none.rom", "Invalid File Specified"},
        {folder.Path(), "The ROM image cannot be opened or read."}};
    for (const auto& [path, text] : cases) {
        const Outcome run = Call(RunCheck, {path.string()});
        const bool accepted = text.back() == '\n';
        EXPECT_EQ(run.status, accepted ? 0 : 1) << text;
        EXPECT_EQ(accepted ? run.out : run.err,
                  accepted ? text : "mgromtool: " + path.string() + ": " + text + "\n");
    }
    EXPECT_EQ(Call(RunCheck, {}).status, 2);
}

TEST(SwapCommand, ExchangesEveryPairAndRefusesTheSameFileOrAnOddLength) {
    TempFolder folder;
    const std::string in = folder.Write("in.rom", Bytes{1, 2, 3, 4});
    ASSERT_EQ(Call(RunSwap, {in, folder / "out"}).status, 0);
    EXPECT_EQ(ReadAllBytes(folder / "out"), (Bytes{2, 1, 4, 3}));
    EXPECT_EQ(Call(RunSwap, {in, in}).status, 1);
    EXPECT_EQ(Call(RunSwap, {folder.Write("odd", Bytes{1, 2, 3}), folder / "x"}).status, 1);
    EXPECT_EQ(ReadAllBytes(in), (Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(fs::exists(folder / "x"));
    EXPECT_EQ(Call(RunSwap, {"one"}).status, 2);
}

TEST(BuildCommand, WritesWhatSaveNewRomWouldWrite) {
    Kit kit;
    // Catalogue sources take their room (offsets of up to 8 digits); a later pair for the same
    // target wins.
    const std::string c8 = std::string(8 - HexText(C).size(), '0') + HexText(C);
    Outcome run = kit.Build({Pair(B, A), Pair(A, "0x" + HexText(B)), Pair(D, c8), Pair(D, A)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"),
              kit.Expected({{A, B, 0x3FF, 'N'}, {B, A, 0x3FF, 'N'}, {D, A, 0x3FF, 'N'}}));
    // User bitmaps by name in any case, each with its target's format.
    const auto size = static_cast<std::uint32_t>(PrepareUserImage(UserBitmap(), "N").record.size());
    ASSERT_EQ(kit.Build({Pair(A, "face.BMP"), Pair(G, "Face.bmp")}).status, 0);
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"), kit.Expected({{A, 0, size, 'N'}, {G, 0, size, 'G'}}));
    // Without the image table every room is 0x200.
    fs::remove(kit.catalogue / "tableBinary.bin");
    run = kit.Build({Pair(D, A)});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("every texture's room is 200"), std::string::npos);
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"), kit.Expected({{D, A, 0x200, 'N'}}));
}

TEST(BuildCommand, RefusalsPrintTheirLineAndWriteNothing) {
    Kit kit;
    const std::pair<Args, std::string> cases[] = {
        {{Pair(A, C)}, "Too large, cannot replace (needs 0x7FF bytes, the room is 0x3FF)"},
        {{Pair(A, A)}, "Same image"},
        {{"12345=" + HexText(A)},
         "no texture of the catalogue in \"" + kit.catalogue.string() + "\" lies at 12345"},
        {{Pair(A, "wide.bmp")},
         "no User bitmap \"wide.bmp\" was loaded from \"" +
             (kit.catalogue / "romimages" / "User").string() + "\" (Bad size: wide.bmp)"},
        {{Pair(A, B), Pair(E, "face.bmp")},
         "Bad Forcing Amount - Too Far: the replacement at 10000 (1023 bytes) runs into the one "
         "at 10200"}};
    for (const auto& [pairs, text] : cases) {
        const Outcome run = kit.Build(pairs);
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_NE(run.err.find(text + "\n"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(kit / "out.rom"));
    const std::string w = kit.working.string();
    const std::string native = kit.folder.Write("native.rom", rom_test::MakeNativeRom(40));
    const std::pair<Args, int> statuses[] = {{{w, kit / "out.rom"}, 1},
                                             {{w, w, "--replace", "10000=10400"}, 1},
                                             {{native, "x", "--replace", "1=2"}, 1},
                                             {{w, "x", "--force", "--replace", "1=2"}, 2}};
    for (const auto& [args, status] : statuses) {
        const auto build = [&](const Args& all) { return RunBuild(all, kit.catalogue); };
        EXPECT_EQ(Call(build, args).status, status) << args[1];
    }
    EXPECT_EQ(ReadAllBytes(kit.working), kit.workingBytes);
}

TEST(DiffApplyCommands, RoundTripAndRefusals) {
    Kit kit;
    ASSERT_EQ(kit.Build({Pair(B, A), Pair(G, "face.bmp")}).status, 0);
    const Outcome diff = Call(RunDiff, {kit.working.string(), kit / "out.rom", kit / "p.pat"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    EXPECT_EQ(diff.out,
              std::to_string(ReadPatch(ReadAllBytes(kit / "p.pat")).records.size()) + " records\n");
    ASSERT_EQ(Call(RunApply, {kit.working.string(), kit / "p.pat", kit / "o.rom"}).status, 0);
    EXPECT_EQ(ReadAllBytes(kit / "o.rom"), ReadAllBytes(kit / "out.rom"));

    const fs::path bad = kit.folder.Write("bad.pat", Bytes{1, 0, 0, 0, 0, 0, 1, 0, 4, 0, 0, 0, 9});
    const Outcome refused = Call(RunApply, {kit.working.string(), bad.string(), kit / "x.rom"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("bad.pat: This custom ROM patch is damaged or cut short"),
              std::string::npos);
    EXPECT_EQ(Call(RunDiff, {kit.working.string()}).status, 2);
    EXPECT_FALSE(fs::exists(kit / "x.rom"));
}

TEST(DiffApplyCommands, FormatByExtensionOrOptionAndAppliedByContent) {
    Kit kit;
    ASSERT_EQ(kit.Build({Pair(B, A), Pair(G, "face.bmp")}).status, 0);
    const std::string w = kit.working.string(), out = kit / "out.rom";
    struct Case {
        std::string name;
        Args options;
        PatchFormat format;
    };
    const Case cases[] = {{"p.ips", {}, PatchFormat::Ips},
                          {"p.BPS", {}, PatchFormat::Bps},
                          {"p.bin", {}, PatchFormat::Custom},
                          {"q.bin", {"--format", "bps"}, PatchFormat::Bps},
                          {"q.pat", {"--format", "ips"}, PatchFormat::Ips},
                          {"q.ips", {"--format", "pat"}, PatchFormat::Custom}};
    for (const Case& c : cases) {
        Args args = c.options;
        args.insert(args.begin(), {w, out, kit / c.name});
        const Outcome diff = Call(RunDiff, args);
        ASSERT_EQ(diff.status, 0) << c.name << diff.err;
        const Bytes patch = ReadAllBytes(kit / c.name);
        EXPECT_EQ(DetectPatchFormat(patch), c.format) << c.name;
        if (c.format != PatchFormat::Custom) {
            EXPECT_EQ(diff.out, std::to_string(patch.size()) + " bytes\n");
        }
        ASSERT_EQ(Call(RunApply, {w, kit / c.name, kit / "o.rom"}).status, 0) << c.name;
        EXPECT_EQ(ReadAllBytes(kit / "o.rom"), ReadAllBytes(out)) << c.name;
        fs::remove(kit / "o.rom");
    }
    EXPECT_EQ(Call(RunDiff, {w, out, kit / "r.bps", "--format", "zip"}).status, 2);
    EXPECT_EQ(Call(RunDiff, {w, out, kit / "r.bps", "--format"}).status, 2);
    // A patch for another ROM is refused with both CRCs.
    const Outcome refused = Call(RunApply, {out, kit / "p.BPS", kit / "o.rom"});
    EXPECT_EQ(refused.status, 1);
    Bytes native = kit.workingBytes, changed = ReadAllBytes(out);
    SwapBytePairs(native);
    SwapBytePairs(changed);
    EXPECT_NE(refused.err.find("this patch was made for a ROM with CRC32 " +
                               refusal_texts::Crc32Text(Crc32(native)) + "; yours has " +
                               refusal_texts::Crc32Text(Crc32(changed))),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(kit / "o.rom"));
    EXPECT_EQ(Call(RunCheck, {w}).out, "swapped\n");
    EXPECT_EQ(Call(RunCheck, {w, "--crc"}).out,
              "swapped " + refusal_texts::Crc32Text(Crc32(native)) + "\n");
    EXPECT_EQ(Call(RunCheck, {"--crc", w}).out, Call(RunCheck, {w, "--crc"}).out);
    EXPECT_EQ(Call(RunCheck, {w, "--md5"}).status, 2);
}

TEST(Mgromtool, CompressAndPreviewWriteThePipelinesBytes) {
    TempFolder folder;
    const std::string bitmap = folder.Write("face.bmp", UserBitmap()).string();
    const UserImage image = PrepareUserImage(UserBitmap(), "N");
    ASSERT_EQ(RunTool(folder, {"compress", bitmap, folder / "n.bin"}).status, 0);
    EXPECT_EQ(ReadAllBytes(folder / "n.bin"), image.record);
    ASSERT_EQ(RunTool(folder, {"compress", bitmap, folder / "g.bin", "--format", "G"}).status, 0);
    EXPECT_EQ(ReadAllBytes(folder / "g.bin"), PrepareUserImage(UserBitmap(), "G").record);
    ASSERT_EQ(RunTool(folder, {"preview", bitmap, folder / "p.bmp"}).status, 0);
    EXPECT_EQ(ReadAllBytes(folder / "p.bmp"), MakePreviewBitmap(image));
    ASSERT_EQ(RunTool(folder, {"demo-kit", folder / "kit"}).status, 0);
    EXPECT_EQ(Call(RunCheck, {folder / "kit" / "MOONGLASS.ROM"}).out, "native\n");
}

TEST(Mgromtool, RefusalsExitOneAndWrongArgumentsTwo) {
    TempFolder folder;
    Bytes deep = UserBitmap();
    deep[28] = 2;  // 2 bits per pixel
    const std::string bitmap = folder.Write("deep.bmp", deep).string();
    const std::string old = folder.Write("old.bin", Bytes{1, 2, 3}).string();
    for (const char* command : {"compress", "preview"}) {
        const Outcome run = RunTool(folder, {command, bitmap, old});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.err, "mgromtool: " + bitmap + ": Not a bitmap!\n");
    }
    EXPECT_EQ(ReadAllBytes(old), (Bytes{1, 2, 3}));
    for (const Args& args : {Args{"compress", bitmap, old, "--format", "X"}, Args{"unknown"}}) {
        const Outcome run = RunTool(folder, args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage:"), std::string::npos) << run.err;
    }
}
