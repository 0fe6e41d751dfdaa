#include "cli/ExtractCommands.h"

#include <cstdio>

#include "catalogue/RomCheck.h"
#include "cli/RomCommands.h"
#include "cli/ToolOutput.h"
#include "cli/ToolTexts.h"
#include "extract/CatalogueBuild.h"
#include "extract/CatalogueVerify.h"
#include "extract/TextureBitmap.h"
#include "romio/NewRom.h"
#include "texts/ExtractTexts.h"

namespace {

// Reads an accepted ROM image in either order; refuses anything else on standard error.
std::optional<std::vector<std::uint8_t>> ReadRom(const std::string& rom) {
    const RomFileCheck check = CheckRomPath(std::filesystem::path(rom));
    if (check.verdict != RomVerdict::Native && check.verdict != RomVerdict::Swapped) {
        Refuse(rom, tool_texts::RomFile(check));
        return std::nullopt;
    }
    auto image = ReadRomImageFile(std::filesystem::path(rom));
    if (!image) {
        Refuse(rom, tool_texts::CANNOT_READ_FILE);
    }
    return image;
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool force = false;
    for (const std::string& arg : args) {
        if (arg == "--force") {
            force = true;
        } else if (arg.starts_with("--")) {
            return ReportUsage(tool_texts::UnknownOption(arg), tool_texts::EXTRACT_USAGE);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return ReportUsage(tool_texts::EXTRACT_ARGUMENTS, tool_texts::EXTRACT_USAGE);
    }
    const auto image = ReadRom(files[0]);
    if (!image) {
        return ROM_COMMAND_REFUSED;
    }
    const CatalogueBuildResult built = BuildCatalogue(*image, files[1], force);
    if (built.error == CatalogueBuildError::NoTextures) {
        std::fputs(extract_texts::BuildSummary(built).c_str(), stdout);  // what was found
    }
    if (built.error != CatalogueBuildError::None) {
        return Refuse(
            extract_texts::BuildRefusal(built) +
            (built.error == CatalogueBuildError::Exists ? tool_texts::EXTRACT_FORCE : ""));
    }
    std::fputs(extract_texts::BuildSummary(built).c_str(), stdout);
    return ROM_COMMAND_OK;
}

int RunExport(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return ReportUsage(tool_texts::EXPORT_ARGUMENTS, tool_texts::EXPORT_USAGE);
    }
    const auto offset = ParseOffset(args[1]);
    if (!offset) {
        return ReportUsage(tool_texts::BAD_OFFSET, tool_texts::EXPORT_USAGE);
    }
    const auto image = ReadRom(args[0]);
    if (!image) {
        return ROM_COMMAND_REFUSED;
    }
    if (*offset >= image->size()) {
        return Refuse(args[0], extract_texts::OffsetPastImage(*offset, image->size()));
    }
    const TextureExport exported = ExportTexture(*image, *offset);
    if (exported.bitmap.empty()) {
        return Refuse(args[0], extract_texts::NoTextureAt(*offset, exported.decoded));
    }
    return WriteOutput(args[2], exported.bitmap);
}

int RunVerify(const std::vector<std::string>& args, const std::filesystem::path& toolFolder) {
    std::vector<std::string> files;
    std::filesystem::path catalogue = toolFolder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--catalogue") {
            if (i + 1 == args.size()) {
                return ReportUsage(tool_texts::CATALOGUE_NEEDS_FOLDER, tool_texts::VERIFY_USAGE);
            }
            catalogue = args[++i];
        } else if (args[i].starts_with("--")) {
            return ReportUsage(tool_texts::UnknownOption(args[i]), tool_texts::VERIFY_USAGE);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1) {
        return ReportUsage(tool_texts::VERIFY_ARGUMENTS, tool_texts::VERIFY_USAGE);
    }
    const auto image = ReadRom(files[0]);
    if (!image) {
        return ROM_COMMAND_REFUSED;
    }
    const VerifyReport report = VerifyCatalogue(*image, catalogue);
    if (report.texturesChecked == 0) {
        return Refuse(catalogue.string(), tool_texts::NO_CATALOGUED_TEXTURE);
    }
    for (const VerifyFinding& finding : report.findings) {
        std::printf("%s\n", extract_texts::VerifyFinding(finding).c_str());
    }
    std::printf("%s\n", extract_texts::VerifyVerdict(report).c_str());
    return report.findings.empty() ? ROM_COMMAND_OK : ROM_COMMAND_REFUSED;
}
