#include "cli/TextureCommands.h"

#include <cstdio>
#include <filesystem>

#include "cli/RomCommands.h"
#include "cli/ToolTexts.h"
#include "codec/UserImage.h"
#include "io/AtomicFile.h"

namespace {

constexpr const char* COMPRESS_USAGE = "compress BITMAP OUT.bin [--format N|G]";
constexpr const char* PREVIEW_USAGE = "preview BITMAP OUT.bmp";

int UsageError(const std::string& problem, const char* usage) {
    std::fprintf(stderr, "mgromtool: %s\nUsage: mgromtool %s\n", problem.c_str(), usage);
    return ROM_COMMAND_USAGE;
}

// Prepares the bitmap, reporting a refusal on standard error.
UserImage Prepare(const std::string& bitmap, std::string_view formatLetter) {
    UserImage image = PrepareUserImage(std::filesystem::path(bitmap), formatLetter);
    if (image.result != ConvertResult::Ok) {
        std::fprintf(stderr, "mgromtool: %s: %s\n", bitmap.c_str(),
                     tool_texts::Convert(image.result).c_str());
    }
    return image;
}

int WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const FileWriteResult written = WriteFileAtomically(std::filesystem::path(path), bytes);
    if (!written.ok) {
        std::fprintf(stderr, "mgromtool: %s\n", written.error.c_str());
        return ROM_COMMAND_REFUSED;
    }
    return 0;
}

}  // namespace

int RunCompress(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string formatLetter = "N";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format") {
            if (i + 1 == args.size() || (args[i + 1] != "N" && args[i + 1] != "G")) {
                return UsageError("--format takes N or G", COMPRESS_USAGE);
            }
            formatLetter = args[++i];
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return UsageError("compress takes a bitmap and an output file", COMPRESS_USAGE);
    }
    const UserImage image = Prepare(files[0], formatLetter);
    if (image.result != ConvertResult::Ok) {
        return ROM_COMMAND_REFUSED;
    }
    return WriteOutput(files[1], image.record);
}

int RunPreview(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return UsageError("preview takes a bitmap and an output file", PREVIEW_USAGE);
    }
    const UserImage image = Prepare(args[0], "N");
    if (image.result != ConvertResult::Ok) {
        return ROM_COMMAND_REFUSED;
    }
    return WriteOutput(args[1], MakePreviewBitmap(image));
}
