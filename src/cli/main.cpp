#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueLocation.h"
#include "cli/ExtractCommands.h"
#include "cli/RomBuildCommands.h"
#include "cli/RomCommands.h"
#include "cli/TextureCommands.h"
#include "cli/ToolTexts.h"

// mgromtool: the editor's texture and ROM operations from the command line.

namespace {

// The folder of the running executable.
std::filesystem::path ToolFolder(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::absolute(argv0).parent_path() : self.parent_path();
}

// The catalogue used without --catalogue: the editor's, beside the tool or in the user's data
// folder.
std::filesystem::path DefaultCatalogue(const char* argv0) {
    return FindCatalogueFolderFor(ToolFolder(argv0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(tool_texts::HELP, stderr);
        return ROM_COMMAND_USAGE;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(tool_texts::HELP, stdout);
        return ROM_COMMAND_OK;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "compress") {
        return RunCompress(args);
    }
    if (command == "preview") {
        return RunPreview(args);
    }
    if (command == "check") {
        return RunCheck(args);
    }
    if (command == "swap") {
        return RunSwap(args);
    }
    if (command == "build") {
        return RunBuild(args, DefaultCatalogue(argv[0]));
    }
    if (command == "diff") {
        return RunDiff(args);
    }
    if (command == "apply") {
        return RunApply(args);
    }
    if (command == "extract") {
        return RunExtract(args);
    }
    if (command == "export") {
        return RunExport(args);
    }
    if (command == "verify") {
        return RunVerify(args, DefaultCatalogue(argv[0]));
    }
    if (command == "demo-kit") {
        return RunDemoKit(args);
    }
    std::fprintf(stderr, "mgromtool: %s", tool_texts::UnknownCommand(argv[1]).c_str());
    return ROM_COMMAND_USAGE;
}
