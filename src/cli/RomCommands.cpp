#include "cli/RomCommands.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "catalogue/CatalogueLocation.h"
#include "catalogue/RomCheck.h"
#include "cli/ToolOutput.h"
#include "cli/ToolTexts.h"
#include "demo/DemoKit.h"
#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "io/FileBytes.h"

namespace {

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
    std::vector<std::string> files = args;
    const auto option = std::find(files.begin(), files.end(), "--crc");
    const bool crc = option != files.end();
    if (crc) {
        files.erase(option);
    }
    if (files.size() != 1) {
        return ReportUsage(tool_texts::WRONG_ARGUMENTS, tool_texts::CHECK_USAGE);
    }
    const std::string& rom = files[0];
    const RomFileCheck check = CheckRomPath(std::filesystem::path(rom));
    if (check.verdict != RomVerdict::Native && check.verdict != RomVerdict::Swapped) {
        return Refuse(rom, tool_texts::RomFile(check));
    }
    const bool native = check.verdict == RomVerdict::Native;
    if (!crc) {
        std::fputs(native ? "native\n" : "swapped\n", stdout);
        return ROM_COMMAND_OK;
    }
    auto image = ReadFileBytes(rom);
    if (!image) {
        return Refuse(rom, tool_texts::CANNOT_READ_FILE);
    }
    if (!native) {
        SwapBytePairs(*image);
    }
    std::fputs(tool_texts::OrderAndCrc(native ? "native" : "swapped", Crc32(*image)).c_str(),
               stdout);
    return ROM_COMMAND_OK;
}

int RunSwap(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return ReportUsage(tool_texts::WRONG_ARGUMENTS, tool_texts::SWAP_USAGE);
    }
    const std::filesystem::path in(args[0]);
    const std::filesystem::path out(args[1]);
    if (!Exists(in)) {
        return Refuse(args[0], tool_texts::NO_SUCH_FILE);
    }
    if (SameFile(in, out)) {
        return Refuse(args[1], tool_texts::SWAP_SAME_FILE);
    }
    auto bytes = ReadFileBytes(in);
    if (!bytes) {
        return Refuse(args[0], tool_texts::CANNOT_READ_FILE);
    }
    if (bytes->size() % 2 != 0) {
        return Refuse(args[0], tool_texts::OddLength(bytes->size()));
    }
    SwapBytePairs(*bytes);
    return WriteOutput(out, *bytes);
}

int RunDemoKit(const std::vector<std::string>& args) {
    if (args.size() > 1) {
        return ReportUsage(tool_texts::WRONG_ARGUMENTS, tool_texts::DEMO_KIT_USAGE);
    }
    // Without a folder the kit goes where the editor looks for its catalogue after its own folder.
    const auto folder =
        args.empty() ? ThisUserDataFolder() : std::optional<std::filesystem::path>(args[0]);
    if (!folder) {
        return ReportUsage(tool_texts::NO_USER_DATA_FOLDER, tool_texts::DEMO_KIT_USAGE);
    }
    const DemoKitResult result = MakeDemoKit(*folder);
    if (!result.ok) {
        return Refuse(result.message);
    }
    std::printf("%s\n", result.message.c_str());
    return ROM_COMMAND_OK;
}
