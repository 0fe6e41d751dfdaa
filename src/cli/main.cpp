#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "codec/ConvertMessages.h"
#include "codec/UserImage.h"
#include "romio/AtomicFile.h"

// mgromtool: the editor's texture and ROM operations from the command line.

namespace {

constexpr const char* USAGE =
    "Usage: mgromtool COMMAND [ARGUMENTS]\n"
    "\n"
    "Works on Moonglass ROM images and texture bitmaps with the same code as the editor.\n"
    "\n"
    "Commands:\n"
    "  compress BITMAP OUT.bin [--format N|G]\n"
    "                  convert a 4, 8 or 16-bit bitmap and write its compressed texture\n"
    "                  record, as Insert User Image writes compressed.bin (format N unless\n"
    "                  --format G)\n"
    "  preview BITMAP OUT.bmp\n"
    "                  write the converted texture as a 32 x 32, 16-bit bitmap, as Insert\n"
    "                  User Image writes output8.bmp\n"
    "  --help, help    show this text\n"
    "\n"
    "A bitmap that cannot be converted is reported on standard error and no output is written.\n";

// Exit statuses: 0 done, 1 refused bitmap or failed write, 2 wrong arguments.
constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_USAGE = 2;

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "mgromtool: %s\n\n%s", problem.c_str(), USAGE);
    return EXIT_USAGE;
}

// Prepares the bitmap, reporting a refusal on standard error.
UserImage Prepare(const std::string& bitmap, std::string_view formatLetter) {
    UserImage image = PrepareUserImage(std::filesystem::path(bitmap), formatLetter);
    if (image.result != ConvertResult::Ok) {
        std::fprintf(stderr, "mgromtool: %s: %s\n", bitmap.c_str(),
                     ConvertResultMessage(image.result).text);
    }
    return image;
}

int WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const FileWriteResult written = WriteFileAtomically(std::filesystem::path(path), bytes);
    if (!written.ok) {
        std::fprintf(stderr, "mgromtool: %s\n", written.error.c_str());
        return EXIT_REFUSED;
    }
    return 0;
}

// compress BITMAP OUT.bin [--format N|G]
int Compress(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string formatLetter = "N";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format") {
            if (i + 1 == args.size() || (args[i + 1] != "N" && args[i + 1] != "G")) {
                return UsageError("--format takes N or G");
            }
            formatLetter = args[++i];
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return UsageError("compress takes a bitmap and an output file");
    }
    const UserImage image = Prepare(files[0], formatLetter);
    if (image.result != ConvertResult::Ok) {
        return EXIT_REFUSED;
    }
    return WriteOutput(files[1], image.record);
}

// preview BITMAP OUT.bmp
int Preview(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return UsageError("preview takes a bitmap and an output file");
    }
    const UserImage image = Prepare(args[0], "N");
    if (image.result != ConvertResult::Ok) {
        return EXIT_REFUSED;
    }
    return WriteOutput(args[1], MakePreviewBitmap(image));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(USAGE, stderr);
        return EXIT_USAGE;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(USAGE, stdout);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "compress") {
        return Compress(args);
    }
    if (command == "preview") {
        return Preview(args);
    }
    std::fprintf(stderr, "mgromtool: unknown command '%s'\n\n%s", argv[1], USAGE);
    return EXIT_USAGE;
}
