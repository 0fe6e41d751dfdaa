#include "cli/RomBuildCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>

#include "catalogue/CatalogueScan.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/RomCheck.h"
#include "catalogue/SizeClassTable.h"
#include "catalogue/SizeClasses.h"
#include "cli/RomCommands.h"
#include "cli/ToolOutput.h"
#include "cli/ToolTexts.h"
#include "codec/UserImage.h"
#include "io/FileBytes.h"
#include "replace/ReplaceDecision.h"
#include "replace/TextureRoom.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/SharedPatch.h"
#include "texts/RefusalTexts.h"

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool EndsWithImageName(std::string_view text) {
    const std::string ending = text.size() > 4 ? Lower(text.substr(text.size() - 4)) : "";
    return ending == ".bmp" || ending == ".png";
}

// Refuses a file that is not an accepted swapped-order ROM image with the editor's words; 0 when
// it is one.
int CheckSwappedRom(const std::string& name) {
    const RomFileCheck check = CheckRomPath(std::filesystem::path(name));
    if (check.verdict == RomVerdict::Swapped) {
        return ROM_COMMAND_OK;
    }
    if (check.verdict == RomVerdict::Native) {
        return Refuse(name, tool_texts::NATIVE_ORDER);
    }
    return Refuse(name, tool_texts::RomFile(check));
}

struct Pair {
    std::string target;
    std::string source;
};

struct BuildArguments {
    std::vector<std::string> files;
    std::optional<std::string> catalogue;
    std::vector<Pair> pairs;
};

// Splits build's arguments; an empty `problem` means they are well formed.
BuildArguments ParseBuildArguments(const std::vector<std::string>& args, std::string& problem) {
    BuildArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--catalogue") {
            if (i + 1 == args.size()) {
                problem = tool_texts::CATALOGUE_NEEDS_FOLDER;
                return parsed;
            }
            parsed.catalogue = args[++i];
        } else if (arg == "--replace") {
            const std::size_t first = i + 1;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                const std::string& pair = args[++i];
                const std::size_t equals = pair.find('=');
                if (equals == std::string::npos) {
                    problem = tool_texts::NotAPair(pair);
                    return parsed;
                }
                parsed.pairs.push_back({pair.substr(0, equals), pair.substr(equals + 1)});
            }
            if (i + 1 == first) {
                problem = tool_texts::REPLACE_NEEDS_PAIR;
                return parsed;
            }
        } else if (arg.rfind("--", 0) == 0) {
            problem = tool_texts::UnknownOption(arg);
            return parsed;
        } else {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.files.size() != 2) {
        problem = tool_texts::BUILD_ARGUMENTS;
    }
    return parsed;
}

struct CatalogueEntry {
    int sizeClass = 0;
    std::uint32_t entry = 0;
};

// The first texture of a game class at `offset`, in class then entry order.
std::optional<CatalogueEntry> FindTexture(const SizeClassTable& table, std::uint32_t offset) {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const SizeClassRecord& record = table[sizeClass];
        for (std::uint32_t k = 0; k < record.entryCount; ++k) {
            if (record.romOffset[k] == offset) {
                return CatalogueEntry{sizeClass, k};
            }
        }
    }
    return std::nullopt;
}

// The User entry whose bitmap is called `name`: an exact match first, then one ignoring case.
std::optional<std::uint32_t> FindUserBitmap(const SizeClassTable& table, std::string_view name) {
    const SizeClassRecord& users = table[USER_CLASS];
    for (const bool exact : {true, false}) {
        for (std::uint32_t k = 0; k < users.entryCount; ++k) {
            const std::string fileName = std::filesystem::path(users.imagePath[k]).filename();
            if (exact ? fileName == name : Lower(fileName) == Lower(name)) {
                return k;
            }
        }
    }
    return std::nullopt;
}

// The scan's reason for leaving out a User bitmap of that name, or empty: the first reason
// whose line ends with the name, ignoring case.
std::string UserScanReason(const std::vector<UserBitmapRefusalEntry>& refusals,
                           const std::string& name) {
    for (const UserBitmapRefusalEntry& refusal : refusals) {
        const std::string line = tool_texts::UserRefusal(refusal);
        if (line.size() >= name.size() &&
            Lower(line.substr(line.size() - name.size())) == Lower(name)) {
            return line;
        }
    }
    return {};
}

// Records one pair as Replace does, or prints why it is refused and returns false.
bool RecordPair(const Pair& pair, const std::filesystem::path& catalogue,
                const std::optional<ImageTable>& imageTable, const ScanReport& report,
                SizeClassTable& table) {
    const std::string label = pair.target + "=" + pair.source;
    const auto targetOffset = ParseOffset(pair.target);
    if (!targetOffset) {
        Refuse(label, tool_texts::BAD_TARGET);
        return false;
    }
    const auto target = FindTexture(table, *targetOffset);
    if (!target) {
        Refuse(label, tool_texts::NoTextureAt(catalogue.string(), *targetOffset));
        return false;
    }

    CatalogueEntry source;
    std::uint32_t size = 0;
    if (EndsWithImageName(pair.source)) {
        const auto user = FindUserBitmap(table, pair.source);
        if (!user) {
            const std::string reason = UserScanReason(report.userRefusals, pair.source);
            Refuse(label,
                   tool_texts::NoUserBitmap(
                       pair.source, ClassFolderPath(catalogue, USER_CLASS).string(), reason));
            return false;
        }
        const UserImage image =
            PrepareUserImage(std::filesystem::path(table[USER_CLASS].imagePath[*user]), "N");
        if (image.result != ConvertResult::Ok) {
            Refuse(label, refusal_texts::UserImageRefusal(image));
            return false;
        }
        if (image.translucent) {
            std::fprintf(stderr, "mgromtool: %s: %s\n", pair.source.c_str(),
                         refusal_texts::TranslucencyNote(image).c_str());
        }
        source = {USER_CLASS, *user};
        size = static_cast<std::uint32_t>(image.record.size());
    } else {
        const auto sourceOffset = ParseOffset(pair.source);
        if (!sourceOffset) {
            Refuse(label, tool_texts::BAD_SOURCE);
            return false;
        }
        const auto found = FindTexture(table, *sourceOffset);
        if (!found) {
            Refuse(label, tool_texts::NoTextureAt(catalogue.string(), *sourceOffset));
            return false;
        }
        source = *found;
        size = AvailableRoom(imageTable, *sourceOffset);
    }

    const ReplacementSource chosen{source.entry, static_cast<std::uint32_t>(source.sizeClass),
                                   size};
    const ReplaceDecision decision =
        DecideReplacement(table, imageTable, target->sizeClass, static_cast<int>(target->entry),
                          chosen, std::nullopt);
    if (decision.verdict != ReplaceVerdict::Recorded) {
        Refuse(label, tool_texts::Replace(decision, size));
        return false;
    }
    RecordReplacement(table, target->sizeClass, static_cast<int>(target->entry), decision);
    return true;
}

}  // namespace

int RunBuild(const std::vector<std::string>& args, const std::filesystem::path& toolFolder) {
    std::string problem;
    const BuildArguments parsed = ParseBuildArguments(args, problem);
    if (!problem.empty()) {
        return ReportUsage(problem, tool_texts::BUILD_USAGE);
    }
    if (parsed.pairs.empty()) {
        return Refuse(tool_texts::NO_CHANGES);
    }
    const std::filesystem::path working(parsed.files[0]);
    const std::filesystem::path output(parsed.files[1]);
    if (const int refused = CheckSwappedRom(parsed.files[0]); refused != ROM_COMMAND_OK) {
        return refused;
    }
    if (SameFile(working, output)) {
        return Refuse(parsed.files[1], tool_texts::OUTPUT_IS_WORKING_ROM);
    }

    const std::filesystem::path catalogue =
        parsed.catalogue ? std::filesystem::path(*parsed.catalogue) : toolFolder;
    std::error_code error;
    if (!std::filesystem::is_directory(catalogue, error)) {
        return Refuse(catalogue.string(), tool_texts::CATALOGUE_NOT_A_FOLDER);
    }
    SizeClassTable table;
    const ScanReport report = ScanCatalogue(catalogue, table);
    const auto imageTable = ReadImageTable(catalogue / IMAGE_TABLE_FILE);
    if (!imageTable) {
        std::fprintf(stderr, "mgromtool: %s\n",
                     tool_texts::DefaultRooms(catalogue.string()).c_str());
    }
    for (const Pair& pair : parsed.pairs) {
        if (!RecordPair(pair, catalogue, imageTable, report, table)) {
            return ROM_COMMAND_REFUSED;
        }
    }

    const NewRomResult result = SaveNewRomFile(working, output, CollectPendingReplacements(table),
                                               UserRecordsFromCatalogue(table));
    if (result.error != NewRomError::None) {
        return Refuse(tool_texts::NewRom(result));
    }
    return ROM_COMMAND_OK;
}

int RunDiff(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::optional<PatchFormat> format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--format") {
            files.push_back(args[i]);
            continue;
        }
        const std::string name = i + 1 < args.size() ? args[++i] : std::string();
        format = name == "pat"   ? std::optional(PatchFormat::Custom)
                 : name == "ips" ? std::optional(PatchFormat::Ips)
                 : name == "bps" ? std::optional(PatchFormat::Bps)
                                 : std::nullopt;
        if (!format) {
            return ReportUsage(tool_texts::PATCH_FORMAT_NAME, tool_texts::DIFF_USAGE);
        }
    }
    if (files.size() != 3) {
        return ReportUsage(tool_texts::DIFF_ARGUMENTS, tool_texts::DIFF_USAGE);
    }
    for (int i = 0; i < 2; ++i) {
        if (const int refused = CheckSwappedRom(files[i]); refused != ROM_COMMAND_OK) {
            return refused;
        }
    }
    const PatchFormat chosen = format ? *format : PatchFormatOfName(files[2], PatchFormat::Custom);
    const PatchFileResult result = WritePatchFileAs(chosen, files[0], files[1], files[2]);
    if (result.error != PatchError::None) {
        return Refuse(tool_texts::PatchFile(result));
    }
    std::fputs(chosen == PatchFormat::Custom ? tool_texts::RecordCount(result.recordCount).c_str()
                                             : tool_texts::PatchSize(result.bytes.size()).c_str(),
               stdout);
    return ROM_COMMAND_OK;
}

int RunApply(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return ReportUsage(tool_texts::APPLY_ARGUMENTS, tool_texts::APPLY_USAGE);
    }
    if (const int refused = CheckSwappedRom(args[0]); refused != ROM_COMMAND_OK) {
        return refused;
    }
    std::error_code error;
    if (!std::filesystem::exists(args[1], error)) {
        return Refuse(args[1], tool_texts::FILE_NOT_FOUND);
    }
    const PatchApplyResult result = ApplyAnyPatchFile(args[0], args[1], args[2]);
    if (result.error == PatchError::None) {
        return ROM_COMMAND_OK;
    }
    if (result.patch.error != PatchError::None) {
        return Refuse(args[1], tool_texts::PatchApply(result));  // the patch's own fault
    }
    return Refuse(tool_texts::PatchApply(result));
}
