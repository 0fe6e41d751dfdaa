#include "cli/RomCommands.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "catalogue/RomCheck.h"
#include "cli/ToolTexts.h"
#include "demo/DemoKit.h"
#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"

namespace {

int Usage(const char* usage) {
    std::fprintf(stderr, "mgromtool: wrong arguments\nUsage: mgromtool %s\n", usage);
    return ROM_COMMAND_USAGE;
}

int Refuse(const std::string& path, const std::string& text) {
    std::fprintf(stderr, "mgromtool: %s: %s\n", path.c_str(), text.c_str());
    return ROM_COMMAND_REFUSED;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage("check ROM");
    }
    const RomFileCheck check = CheckRomPath(std::filesystem::path(args[0]));
    if (check.verdict == RomVerdict::Native || check.verdict == RomVerdict::Swapped) {
        std::fputs(check.verdict == RomVerdict::Native ? "native\n" : "swapped\n", stdout);
        return ROM_COMMAND_OK;
    }
    return Refuse(args[0], tool_texts::RomFile(check));
}

int RunSwap(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return Usage("swap IN OUT");
    }
    const std::filesystem::path in(args[0]);
    const std::filesystem::path out(args[1]);
    if (!Exists(in)) {
        return Refuse(args[0], "no such file");
    }
    if (SameFile(in, out)) {
        return Refuse(args[1], "is the input file itself; swap writes to a different file");
    }
    auto bytes = ReadFileBytes(in);
    if (!bytes) {
        return Refuse(args[0], "the file cannot be opened or read");
    }
    if (bytes->size() % 2 != 0) {
        return Refuse(args[0], "has an odd number of bytes (" + std::to_string(bytes->size()) +
                                   "), so it is no ROM image in either byte order");
    }
    SwapBytePairs(*bytes);
    const FileWriteResult written = WriteFileAtomically(out, *bytes);
    if (!written.ok) {
        std::fprintf(stderr, "mgromtool: %s\n", written.error.c_str());
        return ROM_COMMAND_REFUSED;
    }
    return ROM_COMMAND_OK;
}

int RunDemoKit(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage("demo-kit DIR");
    }
    const DemoKitResult result = MakeDemoKit(std::filesystem::path(args[0]));
    if (!result.ok) {
        std::fprintf(stderr, "mgromtool: %s\n", result.message.c_str());
        return ROM_COMMAND_REFUSED;
    }
    std::printf("%s\n", result.message.c_str());
    return ROM_COMMAND_OK;
}
