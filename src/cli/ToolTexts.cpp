#include "cli/ToolTexts.h"

#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "io/RomImage.h"
#include "replace/TextureRoom.h"
#include "texts/RefusalTexts.h"

namespace tool_texts {

const char* const HELP =
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
    "  check ROM [--crc]\n"
    "                  tell whether ROM is an image the editor accepts: prints \"native\" or\n"
    "                  \"swapped\", with --crc followed by the CRC32 of the image in native\n"
    "                  order (what ROM dump lists give); otherwise says why not\n"
    "  swap IN OUT     write IN with the two bytes of every 16-bit pair exchanged to OUT\n"
    "  build WORKING.rom OUT.rom [--catalogue DIR] --replace TARGET=SOURCE [...]\n"
    "                  write a new ROM as Save New ROM does after a Replace for each pair:\n"
    "                  TARGET is the hexadecimal ROM offset of a catalogued texture, SOURCE\n"
    "                  that of another one or the name of a bitmap in DIR's romimages/User/;\n"
    "                  DIR defaults to the editor's catalogue (the tool's folder if it has\n"
    "                  romimages/, else the one demo-kit writes); a later pair for a\n"
    "                  TARGET wins\n"
    "  diff OLD.rom NEW.rom OUT.pat|OUT.ips|OUT.bps [--format pat|ips|bps]\n"
    "                  write the patch that turns OLD into NEW: a custom ROM patch, or an\n"
    "                  IPS or BPS patch of the native-order images that common patchers\n"
    "                  apply; OUT's extension chooses (custom for any other), or --format\n"
    "  apply WORKING.rom PATCH.pat|.ips|.bps OUT.rom\n"
    "                  write WORKING with the patch applied to OUT; the patch's format is\n"
    "                  recognised by its content, IPS and BPS apply in native order\n"
    "  extract ROM DIR [--force]\n"
    "                  build in DIR the catalogue the editor loads from the ROM's own\n"
    "                  texture records (either byte order): a bitmap per texture of a size\n"
    "                  class, missing description files, romimages/User/ and tableBinary.bin;\n"
    "                  existing bitmaps and tableBinary.bin are kept unless --force\n"
    "  export ROM OFFSET OUT.bmp\n"
    "                  write the texture record at the hexadecimal OFFSET as a 4 or 8-bit\n"
    "                  bitmap, ready to edit and bring back as a user bitmap\n"
    "  verify ROM [--catalogue DIR]\n"
    "                  decode the record of every catalogued texture and compare it with its\n"
    "                  bitmap; status 1 when one does not decode or differs\n"
    "  demo-kit [DIR]  write the demo kit into DIR: a made-up ROM image, the catalogue\n"
    "                  folders, tableBinary.bin, user bitmaps and README.txt; without DIR\n"
    "                  into the editor's folder in the user's data folder\n"
    "                  ($XDG_DATA_HOME/MGROMImageEditor, ~/.local/share/MGROMImageEditor)\n"
    "  --help, help    show this text\n"
    "\n"
    "Exit status: 0 done, 1 refused (the reason is on standard error), 2 wrong arguments.\n"
    "An output file appears only when complete; a refusal leaves an existing one untouched.\n";

namespace refusal = refusal_texts;

std::string NotAPair(const std::string& argument) {
    return "\"" + argument + "\" is not TARGET=SOURCE";
}

std::string UnknownOption(const std::string& option) {
    return "unknown option " + option;
}

std::string UnknownCommand(const std::string& command) {
    return "unknown command '" + command + "'\n\n" + HELP;
}

std::string OddLength(std::size_t length) {
    return "has an odd number of bytes (" + std::to_string(length) +
           "), so it is no ROM image in either byte order";
}

std::string NoTextureAt(const std::string& catalogue, std::uint32_t offset) {
    return "no texture of the catalogue in \"" + catalogue + "\" lies at " + HexText(offset);
}

std::string NoUserBitmap(const std::string& name, const std::string& userFolder,
                         const std::string& reason) {
    return "no User bitmap \"" + name + "\" was loaded from \"" + userFolder + "\"" +
           (reason.empty() ? std::string() : " (" + reason + ")");
}

std::string DefaultRooms(const std::string& catalogue) {
    return std::string("note: no ") + IMAGE_TABLE_FILE + " in \"" + catalogue +
           "\": every texture's room is " + HexText(DEFAULT_ROOM);
}

std::string RecordCount(std::size_t count) {
    return std::to_string(count) + " records\n";
}

std::string PatchSize(std::size_t bytes) {
    return std::to_string(bytes) + " bytes\n";
}

std::string OrderAndCrc(const char* order, std::uint32_t crc) {
    return std::string(order) + " " + refusal::Crc32Text(crc) + "\n";
}

std::string RomFile(const RomFileCheck& check) {
    switch (check.verdict) {
        case RomVerdict::Native:
        case RomVerdict::Swapped:
            return {};
        case RomVerdict::NotFound:
            return FILE_NOT_FOUND;
        case RomVerdict::NotAFile:
        case RomVerdict::CannotRead:
            return refusal::CANNOT_READ_ROM;
        case RomVerdict::WrongGame:
            break;
        case RomVerdict::WrongRegion:
            return "Only NTSC MG ROM Allowed";
        case RomVerdict::WrongSize:
            return refusal::WrongSize(check.length);
    }
    return "Not a Moonglass ROM";
}

std::string UserRefusal(const UserBitmapRefusalEntry& refusal) {
    const std::string prefix = refusal::UserRefusalPrefix(refusal.reason);
    return (prefix.empty() ? std::string("Bad size: ") : prefix) + refusal.fileName;
}

std::string Replace(const ReplaceDecision& decision, std::uint32_t size) {
    switch (decision.verdict) {
        case ReplaceVerdict::SameImage:
            return "Same image";
        case ReplaceVerdict::TooLarge:
            return "Too large, cannot replace (needs 0x" + HexText(size) +
                   " bytes, the room is 0x" + HexText(decision.room) + ")";
        default:
            return {};
    }
}

std::string NewRom(const NewRomResult& result) {
    if (result.error == NewRomError::Overlap) {
        return std::string(refusal::TOO_FAR) + ": " + refusal::OverlapDetail(result);
    }
    return refusal::NewRom(result);
}

std::string PatchFile(const PatchFileResult& result) {
    return refusal::PatchFile(result);
}

std::string PatchApply(const PatchApplyResult& result) {
    return refusal::PatchApply(result);
}

}  // namespace tool_texts
