#include <cstdio>
#include <string_view>

// mgromtool: the editor's texture and ROM operations from the command line.

namespace {

constexpr const char* USAGE =
    "Usage: mgromtool COMMAND [ARGUMENTS]\n"
    "\n"
    "Works on Moonglass ROM images and texture bitmaps with the same code as the editor.\n"
    "\n"
    "Commands:\n"
    "  --help, help    show this text\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(USAGE, stdout);
        return 0;
    }
    std::fprintf(stderr, "mgromtool: unknown command '%s'\n\n%s", argv[1], USAGE);
    return 2;
}
