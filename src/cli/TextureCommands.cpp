#include "cli/TextureCommands.h"

#include <cstdio>
#include <filesystem>

#include "cli/RomCommands.h"
#include "cli/ToolOutput.h"
#include "cli/ToolTexts.h"
#include "codec/UserImage.h"
#include "texts/RefusalTexts.h"

namespace {

// Prepares the bitmap, reporting a refusal on standard error.
UserImage Prepare(const std::string& bitmap, std::string_view formatLetter) {
    UserImage image = PrepareUserImage(std::filesystem::path(bitmap), formatLetter);
    if (image.result != ConvertResult::Ok) {
        Refuse(bitmap, refusal_texts::UserImageRefusal(image));
    } else if (image.translucent) {
        std::printf("%s: %s\n", bitmap.c_str(), refusal_texts::TranslucencyNote(image).c_str());
    }
    return image;
}

}  // namespace

int RunCompress(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string formatLetter = "N";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format") {
            if (i + 1 == args.size() || (args[i + 1] != "N" && args[i + 1] != "G")) {
                return ReportUsage(tool_texts::FORMAT_LETTER, tool_texts::COMPRESS_USAGE);
            }
            formatLetter = args[++i];
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        return ReportUsage(tool_texts::COMPRESS_ARGUMENTS, tool_texts::COMPRESS_USAGE);
    }
    const UserImage image = Prepare(files[0], formatLetter);
    if (image.result != ConvertResult::Ok) {
        return ROM_COMMAND_REFUSED;
    }
    return WriteOutput(files[1], image.record);
}

int RunPreview(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return ReportUsage(tool_texts::PREVIEW_ARGUMENTS, tool_texts::PREVIEW_USAGE);
    }
    const UserImage image = Prepare(args[0], "N");
    if (image.result != ConvertResult::Ok) {
        return ROM_COMMAND_REFUSED;
    }
    return WriteOutput(args[1], MakePreviewBitmap(image));
}
