// Runs mgromtool's build, diff and apply commands in process on a small catalogue made here, and
// compares what they write with the core's own bytes.

#include "cli/RomBuildCommands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "cli/RomCommands.h"
#include "codec/UserImage.h"
#include "io/ByteOrder.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/RomTestSupport.h"

namespace {

using rom_test::Bytes;

// Textures of the catalogue: class "08 08" (format N) at A, B, C and D, class "10 10G" (G) at
// G. E lies 0x200 behind A but is not in the image table, so its room is the default.
constexpr std::uint32_t A = 0x10000;
constexpr std::uint32_t E = 0x10200;
constexpr std::uint32_t B = 0x10400;
constexpr std::uint32_t C = 0x10800;
constexpr std::uint32_t D = 0x11000;
constexpr std::uint32_t G = 0x20000;

Bytes LittleEndian(const std::vector<std::uint32_t>& values) {
    Bytes out;
    for (const std::uint32_t v : values) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    return out;
}

// An 8-bit User bitmap of 16 x 8 pixels.
Bytes UserBitmap() {
    TestBitmap bitmap;
    bitmap.width = 16;
    bitmap.height = 8;
    bitmap.table = DistinctTable(20);
    for (int i = 0; i < 16 * 8; ++i) {
        bitmap.pixels.push_back(static_cast<std::uint8_t>(i * 3 % 20));
    }
    return bitmap.Build();
}

std::string Name(std::uint32_t offset) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X.bmp", offset);
    return buffer;
}

std::string Hex(std::uint32_t offset) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", offset);
    return buffer;
}

// A catalogue folder with the textures above, a User bitmap "Face.bmp", one the scan refuses
// ("wide.bmp", 100 pixels wide), and tableBinary.bin: rooms A 0x3FF, B 0x3FF, C 0x7FF, D 0xFFF.
struct Kit {
    TempFolder folder;
    std::filesystem::path catalogue;
    std::filesystem::path working;
    Bytes workingBytes;

    Kit() : catalogue(folder / "kit"), workingBytes(rom_test::MakeSwappedRom(40)) {
        for (const std::uint32_t offset : {A, B, C, D, E}) {
            folder.Write("kit/romimages/08 08/" + Name(offset), Bytes{});
        }
        folder.Write("kit/romimages/10 10G/" + Name(G), Bytes{});
        folder.Write("kit/romimages/User/Face.bmp", UserBitmap());
        TestBitmap wide;
        wide.width = 100;
        folder.Write("kit/romimages/User/wide.bmp", wide.Build());
        folder.Write("kit/tableBinary.bin",
                     LittleEndian({A - 1, B - 1, C - 1, D - 1, D + 0xFFF, G - 1, G + 0x7FF}));
        working = folder.Write("working.rom", workingBytes);
    }

    std::filesystem::path operator/(const std::string& name) const { return folder / name; }
};

struct CommandRun {
    int status = -1;
    std::string errors;
    std::string output;
};

template <typename Command>
CommandRun Capture(Command command) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    CommandRun run;
    run.status = command();
    run.output = testing::internal::GetCapturedStdout();
    run.errors = testing::internal::GetCapturedStderr();
    return run;
}

CommandRun Build(const Kit& kit, const std::string& output, const std::vector<std::string>& pairs,
                 bool withCatalogue = true) {
    std::vector<std::string> args = {kit.working.string(), (kit / output).string()};
    if (withCatalogue) {
        args.insert(args.end(), {"--catalogue", kit.catalogue.string()});
    }
    args.push_back("--replace");
    args.insert(args.end(), pairs.begin(), pairs.end());
    return Capture([&] { return RunBuild(args, kit.catalogue); });
}

Bytes Expected(const Kit& kit, const std::vector<PendingReplacement>& pending) {
    const NewRomResult result = BuildNewImage(kit.workingBytes, pending, {});
    EXPECT_EQ(result.error, NewRomError::None);
    return result.image;
}

}  // namespace

// --- build: the bytes written -------------------------------------------------------------------

TEST(BuildCommand, CatalogueSourcesTakeTheirRoomAsLength) {
    Kit kit;
    // B by A and A by B (both rooms 0x3FF), C by "0x10400" (B again: room 0x3FF in 0x7FF).
    const CommandRun run = Build(
        kit, "out.rom", {Hex(B) + "=" + Hex(A), Hex(A) + "=" + Hex(B), Hex(C) + "=0x" + Hex(B)});
    ASSERT_EQ(run.status, ROM_COMMAND_OK) << run.errors;
    EXPECT_TRUE(run.errors.empty()) << run.errors;
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"),
              Expected(kit, {{A, B, 0x3FF, 'N'}, {B, A, 0x3FF, 'N'}, {C, B, 0x3FF, 'N'}}));
    // Without --catalogue the tool's own folder is the catalogue.
    ASSERT_EQ(Build(kit, "default.rom", {Hex(B) + "=" + Hex(A)}, false).status, ROM_COMMAND_OK);
    EXPECT_EQ(ReadAllBytes(kit / "default.rom"), Expected(kit, {{B, A, 0x3FF, 'N'}}));
}

TEST(BuildCommand, UserBitmapByNameInAnyCaseWithTheTargetsFlag) {
    Kit kit;
    const CommandRun run = Build(kit, "out.v64", {Hex(A) + "=face.BMP", Hex(G) + "=Face.bmp"});
    ASSERT_EQ(run.status, ROM_COMMAND_OK) << run.errors;
    const UserImage n = PrepareUserImage(UserBitmap(), "N");
    const UserImage g = PrepareUserImage(UserBitmap(), "G");
    ASSERT_EQ(n.result, ConvertResult::Ok);
    const Bytes out = ReadAllBytes(kit / "out.v64");
    ASSERT_EQ(out.size(), ROM_IMAGE_SIZE);
    const auto size = static_cast<std::uint32_t>(n.record.size());
    EXPECT_EQ(CopySwappedRange(out, size, A), n.record);
    EXPECT_EQ(CopySwappedRange(out, size, G), g.record);
    EXPECT_EQ(CopySwappedRange(out, 4, A + size), CopySwappedRange(kit.workingBytes, 4, A + size));
}

TEST(BuildCommand, LaterPairForTheSameTargetWinsAndReplaceOptionsAdd) {
    Kit kit;
    const std::vector<std::string> args = {
        kit.working.string(), (kit / "out.rom").string(), "--replace", Hex(A) + "=" + Hex(B),
        "--catalogue",        kit.catalogue.string(),     "--replace", Hex(A) + "=Face.bmp",
        Hex(D) + "=" + Hex(A)};
    const CommandRun run = Capture([&] { return RunBuild(args, kit / "elsewhere"); });
    ASSERT_EQ(run.status, ROM_COMMAND_OK) << run.errors;
    const UserImage n = PrepareUserImage(UserBitmap(), "N");
    ASSERT_EQ(n.result, ConvertResult::Ok);
    const auto size = static_cast<std::uint32_t>(n.record.size());
    std::map<std::pair<std::uint32_t, char>, Bytes> records;
    const NewRomResult expected = BuildNewImage(
        kit.workingBytes, {{A, 0, size, 'N'}, {D, A, 0x3FF, 'N'}}, [&](std::uint32_t, char) {
            return UserRecord{ConvertResult::Ok, n.record, "Face.bmp"};
        });
    ASSERT_EQ(expected.error, NewRomError::None);
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"), expected.image);
}

TEST(BuildCommand, MissingImageTableGivesEveryTextureTheDefaultRoom) {
    Kit kit;
    std::filesystem::remove(kit.catalogue / "tableBinary.bin");
    const CommandRun run = Build(kit, "out.rom", {Hex(D) + "=" + Hex(A)});
    ASSERT_EQ(run.status, ROM_COMMAND_OK) << run.errors;
    EXPECT_NE(run.errors.find("every texture's room is 200"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadAllBytes(kit / "out.rom"), Expected(kit, {{D, A, 0x200, 'N'}}));
}

// --- build: refusals write nothing --------------------------------------------------------------

TEST(BuildRefusal, ReplaceRefusalsUseTheEditorsWords) {
    Kit kit;
    const Bytes old{1, 2, 3};
    const auto output = kit.folder.Write("out.rom", old);
    struct Case {
        std::string pair;
        std::string words;
    };
    const std::vector<Case> cases = {
        {Hex(A) + "=" + Hex(C), "Too large, cannot replace"},  // room 0x7FF into 0x3FF
        {Hex(A) + "=" + Hex(A), "Same image"},
        {"12345=" + Hex(A), "no texture of the catalogue"},
        {Hex(A) + "=54321", "no texture of the catalogue"},
        {Hex(A) + "=missing.bmp", "no User bitmap \"missing.bmp\""},
        {Hex(A) + "=wide.bmp", "Bad size: wide.bmp"},
        {"1G000=" + Hex(A), "TARGET must be a hexadecimal ROM offset"},
        {Hex(A) + "=123456789", "SOURCE must be"},
    };
    for (const Case& c : cases) {
        const CommandRun run = Build(kit, "out.rom", {Hex(B) + "=" + Hex(A), c.pair});
        EXPECT_EQ(run.status, ROM_COMMAND_REFUSED) << c.pair;
        EXPECT_NE(run.errors.find(c.words), std::string::npos) << c.pair << ": " << run.errors;
        EXPECT_EQ(ReadAllBytes(output), old) << c.pair;
    }
    EXPECT_EQ(rom_test::Entries(kit.folder.Path()),
              (std::vector<std::string>{"kit", "out.rom", "working.rom"}));
}

TEST(BuildRefusal, ReplacementRunningIntoTheNextTarget) {
    Kit kit;
    // A's room (0x3FF, from the table) reaches past E, which is only 0x200 further on.
    const CommandRun run = Build(kit, "out.rom", {Hex(A) + "=" + Hex(B), Hex(E) + "=face.bmp"});
    EXPECT_EQ(run.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(run.errors.find("Bad Forcing Amount - Too Far"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("runs into the one at 10200"), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(kit / "out.rom"));
}

TEST(BuildRefusal, WorkingRomAndOutputChecks) {
    Kit kit;
    const auto native = kit.folder.Write("native.rom", rom_test::MakeNativeRom(40));
    const std::string pair = Hex(B) + "=" + Hex(A);
    auto build = [&](const std::filesystem::path& working, const std::filesystem::path& out) {
        const std::vector<std::string> args = {working.string(),       out.string(), "--catalogue",
                                               kit.catalogue.string(), "--replace",  pair};
        return Capture([&] { return RunBuild(args, kit.catalogue); });
    };
    const CommandRun nativeRun = build(native, kit / "out.rom");
    EXPECT_EQ(nativeRun.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(nativeRun.errors.find("native byte order"), std::string::npos);
    const CommandRun missing = build(kit / "missing.rom", kit / "out.rom");
    EXPECT_NE(missing.errors.find("Invalid File Specified"), std::string::npos);
    const CommandRun same = build(kit.working, kit.working);
    EXPECT_EQ(same.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(same.errors.find("over the working ROM"), std::string::npos);
    EXPECT_EQ(ReadAllBytes(kit.working), kit.workingBytes);
    const CommandRun noFolder = Capture([&] {
        return RunBuild({kit.working.string(), (kit / "out.rom").string(), "--catalogue",
                         (kit / "none").string(), "--replace", pair},
                        kit.catalogue);
    });
    EXPECT_EQ(noFolder.status, ROM_COMMAND_REFUSED);
    EXPECT_FALSE(std::filesystem::exists(kit / "out.rom"));
}

TEST(BuildRefusal, WrongArguments) {
    Kit kit;
    const std::string w = kit.working.string();
    const std::string o = (kit / "out.rom").string();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{w, "--replace", "10000=10400"},
                                               {w, o, "--replace"},
                                               {w, o, "--replace", "10000"},
                                               {w, o, "--catalogue"},
                                               {w, o, "--force", "--replace", "10000=10400"}}) {
        EXPECT_EQ(Capture([&] { return RunBuild(args, kit.catalogue); }).status, ROM_COMMAND_USAGE);
    }
    const CommandRun nothing = Capture([&] { return RunBuild({w, o}, kit.catalogue); });
    EXPECT_EQ(nothing.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(nothing.errors.find("No changes!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(kit / "out.rom"));
}

// --- diff and apply -----------------------------------------------------------------------------

TEST(DiffApplyCommands, RoundTripGivesTheBuiltImage) {
    Kit kit;
    ASSERT_EQ(Build(kit, "new.rom", {Hex(B) + "=" + Hex(A), Hex(G) + "=face.bmp"}).status,
              ROM_COMMAND_OK);
    const CommandRun diff = Capture([&] {
        return RunDiff(
            {kit.working.string(), (kit / "new.rom").string(), (kit / "p.pat").string()});
    });
    ASSERT_EQ(diff.status, ROM_COMMAND_OK) << diff.errors;
    const Bytes patch = ReadAllBytes(kit / "p.pat");
    EXPECT_EQ(diff.output, std::to_string(ReadPatch(patch).records.size()) + " records\n");
    const CommandRun apply = Capture([&] {
        return RunApply({kit.working.string(), (kit / "p.pat").string(), (kit / "o.rom").string()});
    });
    ASSERT_EQ(apply.status, ROM_COMMAND_OK) << apply.errors;
    EXPECT_EQ(ReadAllBytes(kit / "o.rom"), ReadAllBytes(kit / "new.rom"));
    // Identical images give the four-byte patch.
    ASSERT_EQ(
        Capture([&] {
            return RunDiff({kit.working.string(), kit.working.string(), (kit / "e.pat").string()});
        }).status,
        ROM_COMMAND_OK);
    EXPECT_EQ(ReadAllBytes(kit / "e.pat"), (Bytes{0, 0, 0, 0}));
}

TEST(DiffApplyRefusal, BadPatchOrOutputLeavesFilesAsTheyWere) {
    Kit kit;
    const auto patch = kit.folder.Write("p.pat", Bytes{1, 0, 0, 0, 0, 0, 1, 0, 4, 0, 0, 0, 9, 9});
    const auto output = kit.folder.Write("o.rom", Bytes{7});
    const CommandRun bad = Capture([&] {
        return RunApply({kit.working.string(), patch.string(), output.string()});
    });
    EXPECT_EQ(bad.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(bad.errors.find("p.pat: This custom ROM patch is damaged or cut short"),
              std::string::npos)
        << bad.errors;
    EXPECT_EQ(ReadAllBytes(output), Bytes{7});

    const CommandRun onPatch = Capture([&] {
        return RunApply({kit.working.string(), patch.string(), patch.string()});
    });
    EXPECT_EQ(onPatch.status, ROM_COMMAND_REFUSED);
    EXPECT_NE(onPatch.errors.find("over the patch itself"), std::string::npos);
    const CommandRun onOld = Capture([&] {
        return RunDiff({kit.working.string(), kit.working.string(), kit.working.string()});
    });
    EXPECT_EQ(onOld.status, ROM_COMMAND_REFUSED);
    EXPECT_EQ(ReadAllBytes(kit.working), kit.workingBytes);

    const CommandRun missingPatch = Capture([&] {
        return RunApply({kit.working.string(), (kit / "none.pat").string(), output.string()});
    });
    EXPECT_EQ(missingPatch.status, ROM_COMMAND_REFUSED);
    const auto native = kit.folder.Write("native.rom", rom_test::MakeNativeRom(40));
    EXPECT_EQ(Capture([&] {
                  return RunDiff({native.string(), kit.working.string(), (kit / "x.pat").string()});
              }).status,
              ROM_COMMAND_REFUSED);
    EXPECT_EQ(Capture([&] {
                  return RunApply({kit.working.string(), patch.string()});
              }).status,
              ROM_COMMAND_USAGE);
    EXPECT_EQ(Capture([&] { return RunDiff({kit.working.string()}); }).status, ROM_COMMAND_USAGE);
    EXPECT_FALSE(std::filesystem::exists(kit / "x.pat"));
    EXPECT_EQ(ReadAllBytes(output), Bytes{7});
}
