#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/RomBuildCommands.h"
#include "cli/RomCommands.h"
#include "cli/TextureCommands.h"

// mgromtool: the editor's texture and ROM operations from the command line.

namespace {

constexpr const char* USAGE =
    "Usage: mgromtool COMMAND [ARGUMENTS]\n"
    "\n"
    "Works on Moonglass ROM images and texture bitmaps with the same code as the editor.\n"
    "ROM images written are in swapped byte order, as the editor writes them.\n"
    "\n"
    "Commands:\n"
    "  compress BITMAP OUT.bin [--format N|G]\n"
    "                  convert a 4, 8 or 16-bit bitmap and write its compressed texture\n"
    "                  record, as Insert User Image writes compressed.bin (format N unless\n"
    "                  --format G)\n"
    "  preview BITMAP OUT.bmp\n"
    "                  write the converted texture as a 32 x 32, 16-bit bitmap, as Insert\n"
    "                  User Image writes output8.bmp\n"
    "  check ROM       tell whether ROM is an image the editor accepts: prints \"native\" or\n"
    "                  \"swapped\"; otherwise says why not\n"
    "  swap IN OUT     write IN with the two bytes of every 16-bit pair exchanged to OUT\n"
    "  build WORKING.rom OUT.rom [--catalogue DIR] --replace TARGET=SOURCE [...]\n"
    "                  write a new ROM as Save New ROM does after a Replace for each pair:\n"
    "                  TARGET is the hexadecimal ROM offset of a catalogued texture, SOURCE\n"
    "                  that of another one or the name of a bitmap in DIR's romimages/User/;\n"
    "                  DIR defaults to the tool's own folder; a later pair for a TARGET wins\n"
    "  diff OLD.rom NEW.rom OUT.pat\n"
    "                  write the custom ROM patch that turns OLD into NEW\n"
    "  apply WORKING.rom PATCH.pat OUT.rom\n"
    "                  write WORKING with the patch applied to OUT\n"
    "  demo-kit DIR    write the demo kit into DIR: a made-up ROM image, the catalogue\n"
    "                  folders, tableBinary.bin, user bitmaps and README.txt\n"
    "  --help, help    show this text\n"
    "\n"
    "Exit status: 0 done, 1 refused (the reason is on standard error), 2 wrong arguments.\n"
    "An output file appears only when complete; a refusal leaves an existing one untouched.\n";

// The folder of the running executable: build's default catalogue.
std::filesystem::path ToolFolder(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::absolute(argv0).parent_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(USAGE, stderr);
        return ROM_COMMAND_USAGE;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(USAGE, stdout);
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
        return RunBuild(args, ToolFolder(argv[0]));
    }
    if (command == "diff") {
        return RunDiff(args);
    }
    if (command == "apply") {
        return RunApply(args);
    }
    if (command == "demo-kit") {
        return RunDemoKit(args);
    }
    std::fprintf(stderr, "mgromtool: unknown command '%s'\n\n%s", argv[1], USAGE);
    return ROM_COMMAND_USAGE;
}
