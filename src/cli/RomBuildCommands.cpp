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
#include "catalogue/RomCheck.h"
#include "catalogue/RomMessages.h"
#include "catalogue/SizeClassTable.h"
#include "catalogue/SizeClasses.h"
#include "cli/RomCommands.h"
#include "codec/ConvertMessages.h"
#include "codec/UserImage.h"
#include "io/FileBytes.h"
#include "replace/TextureRoom.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/RomOutputMessages.h"

namespace {

constexpr const char* BUILD_USAGE =
    "build WORKING.rom OUT.rom [--catalogue DIR] --replace TARGET=SOURCE [TARGET=SOURCE ...]";
constexpr const char* DIFF_USAGE = "diff OLD.rom NEW.rom OUT.pat";
constexpr const char* APPLY_USAGE = "apply WORKING.rom PATCH.pat OUT.rom";

// Enough of the header for every check.
constexpr std::size_t ROM_HEADER_BYTES = 0x40;
constexpr std::uint32_t MAX_HEX_DIGITS = 8;

int Usage(const std::string& problem, const char* usage) {
    std::fprintf(stderr, "mgromtool: %s\nUsage: mgromtool %s\n", problem.c_str(), usage);
    return ROM_COMMAND_USAGE;
}

int Refuse(const std::string& text) {
    std::fprintf(stderr, "mgromtool: %s\n", text.c_str());
    return ROM_COMMAND_REFUSED;
}

int Refuse(const std::string& path, const std::string& text) {
    return Refuse(path + ": " + text);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool EndsWithBmp(std::string_view text) {
    return text.size() > 4 && Lower(text.substr(text.size() - 4)) == ".bmp";
}

// Strict hexadecimal: an optional "0x", then one to eight digits and nothing else.
std::optional<std::uint32_t> ParseOffset(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > MAX_HEX_DIGITS) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Refuses a file that is not an accepted swapped-order ROM image with the editor's words; 0 when
// it is one.
int CheckSwappedRom(const std::string& name) {
    const std::filesystem::path path(name);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return Refuse(name, rom_messages::FILE_NOT_FOUND.text);
    }
    const auto header = ReadFileBytes(path, ROM_HEADER_BYTES);
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (!header || error) {
        return Refuse(name, rom_messages::CANNOT_READ.text);
    }
    const RomVerdict verdict = CheckRomFile(*header, length);
    if (verdict == RomVerdict::Swapped) {
        return ROM_COMMAND_OK;
    }
    if (verdict == RomVerdict::Native) {
        return Refuse(name,
                      "is in native byte order; these commands work on swapped-order images "
                      "(convert it with \"mgromtool swap\")");
    }
    return Refuse(name, RomVerdictMessage(verdict, length).text);
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
                problem = "--catalogue needs a folder";
                return parsed;
            }
            parsed.catalogue = args[++i];
        } else if (arg == "--replace") {
            const std::size_t first = i + 1;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                const std::string& pair = args[++i];
                const std::size_t equals = pair.find('=');
                if (equals == std::string::npos) {
                    problem = "\"" + pair + "\" is not TARGET=SOURCE";
                    return parsed;
                }
                parsed.pairs.push_back({pair.substr(0, equals), pair.substr(equals + 1)});
            }
            if (i + 1 == first) {
                problem = "--replace needs at least one TARGET=SOURCE";
                return parsed;
            }
        } else if (arg.rfind("--", 0) == 0) {
            problem = "unknown option " + arg;
            return parsed;
        } else {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.files.size() != 2) {
        problem = "build takes a working ROM and an output file";
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

// The scan's reason for leaving out a User bitmap of that name, or empty.
std::string UserScanReason(const std::string& report, const std::string& name) {
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find('\n', start);
        if (end == std::string::npos) {
            end = report.size();
        }
        const std::string line = report.substr(start, end - start);
        if (line.size() >= name.size() &&
            Lower(line.substr(line.size() - name.size())) == Lower(name)) {
            return line;
        }
        start = end + 1;
    }
    return {};
}

// Records one pair as Replace does, or prints why it is refused and returns false.
bool RecordReplacement(const Pair& pair, const std::filesystem::path& catalogue,
                       const std::optional<ImageTable>& imageTable, const ScanReport& report,
                       SizeClassTable& table) {
    const std::string label = pair.target + "=" + pair.source;
    const auto targetOffset = ParseOffset(pair.target);
    if (!targetOffset) {
        Refuse(label, "TARGET must be a hexadecimal ROM offset");
        return false;
    }
    const auto target = FindTexture(table, *targetOffset);
    if (!target) {
        Refuse(label, "no texture of the catalogue in \"" + catalogue.string() + "\" lies at " +
                          HexText(*targetOffset));
        return false;
    }

    CatalogueEntry source;
    std::uint32_t size = 0;
    if (EndsWithBmp(pair.source)) {
        const auto user = FindUserBitmap(table, pair.source);
        if (!user) {
            const std::string reason = UserScanReason(report.userReport, pair.source);
            Refuse(label, "no User bitmap \"" + pair.source + "\" was loaded from \"" +
                              ClassFolderPath(catalogue, USER_CLASS).string() + "\"" +
                              (reason.empty() ? std::string() : " (" + reason + ")"));
            return false;
        }
        const UserImage image =
            PrepareUserImage(std::filesystem::path(table[USER_CLASS].imagePath[*user]), "N");
        if (image.result != ConvertResult::Ok) {
            Refuse(label, ConvertResultMessage(image.result).text);
            return false;
        }
        source = {USER_CLASS, *user};
        size = static_cast<std::uint32_t>(image.record.size());
    } else {
        const auto sourceOffset = ParseOffset(pair.source);
        if (!sourceOffset) {
            Refuse(label, "SOURCE must be a hexadecimal ROM offset or a User bitmap's name");
            return false;
        }
        const auto found = FindTexture(table, *sourceOffset);
        if (!found) {
            Refuse(label, "no texture of the catalogue in \"" + catalogue.string() + "\" lies at " +
                              HexText(*sourceOffset));
            return false;
        }
        source = *found;
        size = AvailableRoom(imageTable, *sourceOffset);
    }

    if (source.sizeClass == target->sizeClass && source.entry == target->entry) {
        Refuse(label, rom_output_messages::SAME_IMAGE.text);
        return false;
    }
    const std::uint32_t room = AvailableRoom(imageTable, *targetOffset);
    // Compared as the editor compares them: both as signed 32-bit values.
    if (static_cast<std::int32_t>(size) > static_cast<std::int32_t>(room)) {
        Refuse(label, std::string(rom_output_messages::TOO_LARGE.text) + " (needs 0x" +
                          HexText(size) + " bytes, the room is 0x" + HexText(room) + ")");
        return false;
    }
    SizeClassRecord& record = table[target->sizeClass];
    record.replacementIndex[target->entry] = source.entry;
    record.replacementClass[target->entry] = static_cast<std::uint32_t>(source.sizeClass);
    record.replacementSize[target->entry] = static_cast<std::uint16_t>(size & 0xFFFF);
    return true;
}

}  // namespace

int RunBuild(const std::vector<std::string>& args, const std::filesystem::path& toolFolder) {
    std::string problem;
    const BuildArguments parsed = ParseBuildArguments(args, problem);
    if (!problem.empty()) {
        return Usage(problem, BUILD_USAGE);
    }
    if (parsed.pairs.empty()) {
        return Refuse(rom_output_messages::NO_CHANGES.text);
    }
    const std::filesystem::path working(parsed.files[0]);
    const std::filesystem::path output(parsed.files[1]);
    if (const int refused = CheckSwappedRom(parsed.files[0]); refused != ROM_COMMAND_OK) {
        return refused;
    }
    if (SameFile(working, output)) {
        return Refuse(parsed.files[1], rom_output_messages::OUTPUT_IS_WORKING_ROM.text);
    }

    const std::filesystem::path catalogue =
        parsed.catalogue ? std::filesystem::path(*parsed.catalogue) : toolFolder;
    std::error_code error;
    if (!std::filesystem::is_directory(catalogue, error)) {
        return Refuse(catalogue.string(), "is not a folder: the catalogue cannot be read");
    }
    SizeClassTable table;
    const ScanReport report = ScanCatalogue(catalogue, table);
    const auto imageTable = ReadImageTable(catalogue / IMAGE_TABLE_FILE);
    if (!imageTable) {
        std::fprintf(stderr, "mgromtool: note: no %s in \"%s\": every texture's room is %X\n",
                     IMAGE_TABLE_FILE, catalogue.string().c_str(), DEFAULT_ROOM);
    }
    for (const Pair& pair : parsed.pairs) {
        if (!RecordReplacement(pair, catalogue, imageTable, report, table)) {
            return ROM_COMMAND_REFUSED;
        }
    }

    const NewRomResult result = SaveNewRomFile(working, output, CollectPendingReplacements(table),
                                               UserRecordsFromCatalogue(table));
    if (result.error == NewRomError::Overlap) {
        return Refuse(std::string(rom_output_messages::TOO_FAR.text) + ": " +
                      OverlapDetail(result));
    }
    if (result.error != NewRomError::None) {
        return Refuse(NewRomMessage(result).text);
    }
    return ROM_COMMAND_OK;
}

int RunDiff(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return Usage("diff takes two ROM images and an output file", DIFF_USAGE);
    }
    for (int i = 0; i < 2; ++i) {
        if (const int refused = CheckSwappedRom(args[i]); refused != ROM_COMMAND_OK) {
            return refused;
        }
    }
    const PatchFileResult result = WritePatchFile(args[0], args[1], args[2]);
    if (result.error != PatchError::None) {
        return Refuse(PatchFileMessage(result).text);
    }
    std::printf("%zu records\n", result.recordCount);
    return ROM_COMMAND_OK;
}

int RunApply(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return Usage("apply takes a working ROM, a patch and an output file", APPLY_USAGE);
    }
    if (const int refused = CheckSwappedRom(args[0]); refused != ROM_COMMAND_OK) {
        return refused;
    }
    std::error_code error;
    if (!std::filesystem::exists(args[1], error)) {
        return Refuse(args[1], rom_messages::FILE_NOT_FOUND.text);
    }
    const PatchApplyResult result = ApplyPatchFile(args[0], args[1], args[2]);
    if (result.error == PatchError::None) {
        return ROM_COMMAND_OK;
    }
    if (result.patch.error != PatchError::None) {
        return Refuse(args[1], PatchApplyMessage(result).text);  // the patch's own fault
    }
    return Refuse(PatchApplyMessage(result).text);
}
