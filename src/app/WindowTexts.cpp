#include "app/WindowTexts.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "io/RomImage.h"

namespace window_texts {

namespace {

const WindowText CANNOT_READ{"The ROM image cannot be opened or read.", "Cannot open file"};
const WindowText TOO_FAR{"Bad Forcing Amount - Too Far", "Redo it"};
const WindowText OUTPUT_IS_WORKING_ROM{
    "The new ROM cannot be saved over the working ROM it is made from. Please choose another "
    "file name.",
    "Choose another file"};
const WindowText PATCHED_OUTPUT_IS_INPUT{
    "The patched ROM cannot be saved over the working ROM or over the patch itself. Please "
    "choose another file name.",
    "Choose another file"};
const WindowText PATCH_OUTPUT_IS_INPUT{
    "The patch cannot be saved over one of the ROM images it is made from. Please choose "
    "another file name.",
    "Choose another file"};
constexpr const char* NOT_SWAPPED_TEXT =
    " is not a ROM image in swapped byte order (\"OMNO\" at 0x20), so nothing was written.";
constexpr const char* WRONG_SIZE_CAPTION = "Wrong size";
constexpr const char* REDO_CAPTION = "Redo it";
constexpr const char* BAD_PATCH_CAPTION = "Bad patch";
constexpr const char* PATCH_TOO_LARGE_CAPTION = "Patch too large";
constexpr const char* WRONG_ORDER_CAPTION = "Wrong byte order";
constexpr const char* CANNOT_WRITE_CAPTION = "Cannot write file";
constexpr const char* NOTHING_WRITTEN = " Nothing was written.";

std::string WrongSizeText(std::uint64_t fileLength) {
    return "Not a Moonglass ROM image: the file is " + std::to_string(fileLength) +
           " bytes long, a ROM image is exactly " + std::to_string(ROM_IMAGE_SIZE) + " bytes.";
}

std::string RecordName(std::size_t index, std::uint32_t count, const PatchRecord& record) {
    return "record " + std::to_string(index + 1) + " of " + std::to_string(count) + " (offset " +
           HexText(record.offset) + ", " + std::to_string(record.length) + " bytes)";
}

// The load report's line start for each reason.
const char* RefusalPrefix(UserBitmapReason reason) {
    switch (reason) {
        case UserBitmapReason::Accepted:
            return "";
        case UserBitmapReason::CannotRead:
            return "Cannot be read: ";
        case UserBitmapReason::BadSize:
            return "Bad size: ";
        case UserBitmapReason::NotFourOrEightBit:
            return "Not 4/8-Bit: ";
        case UserBitmapReason::Pad28x26:
            return "Use 0x28 x 0x26, because of padding, for: ";
        case UserBitmapReason::Pad48x11:
            return "Use 0x48 x 0x11, because of padding, for: ";
        case UserBitmapReason::Pad28x21:
            return "Use 0x28 x 0x21, because of padding, for: ";
    }
    return "Bad size: ";
}

// Texts shared by the patch writer and Apply Patch for the file faults. `detail` names the image
// for ImageWrongSize and ImageNotSwapped (a quoted path, or "The working ROM").
WindowText FileFault(PatchError error, std::uint64_t imageLength, const std::string& detail,
                     const WindowText& sameAsInput) {
    switch (error) {
        case PatchError::ImageWrongSize:
            return {detail + ": " + WrongSizeText(imageLength), WRONG_SIZE_CAPTION};
        case PatchError::ImageNotSwapped:
            return {detail + NOT_SWAPPED_TEXT, WRONG_ORDER_CAPTION};
        case PatchError::SameAsInput:
            return sameAsInput;
        case PatchError::CannotRead:
            return {"The file cannot be read (" + detail + ")." + NOTHING_WRITTEN,
                    CANNOT_READ.caption};
        case PatchError::CannotWrite:
            return {"The file could not be written: " + detail +
                        ". A file of that name was left as it was.",
                    CANNOT_WRITE_CAPTION};
        default:
            return {"The file cannot be handled." + std::string(NOTHING_WRITTEN),
                    CANNOT_WRITE_CAPTION};
    }
}

}  // namespace

WindowText NoRomOpened() {
    return {"No ROM Opened", "Open Moonglass ROM"};
}
WindowText NoImageTable() {
    return {"You need the image table: tableBinary.bin", "Images defaulted to low 0x200"};
}
WindowText NoChanges() {
    return {"No changes!", "No changes."};
}
WindowText PatchQuestion() {
    return {"Save as a custom ROM Patch?", "Custom ROM Patch?"};
}

WindowText RomFile(const RomFileCheck& check) {
    switch (check.verdict) {
        case RomVerdict::Native:
        case RomVerdict::Swapped:
            return {};
        case RomVerdict::NotFound:
        case RomVerdict::NotAFile:
            return {"Invalid File Specified", "It doesn't exist"};
        case RomVerdict::CannotRead:
            return CANNOT_READ;
        case RomVerdict::WrongGame:
            break;
        case RomVerdict::WrongRegion:
            return {"Only NTSC MG ROM Allowed", "Wrong Region"};
        case RomVerdict::WrongSize:
            return {WrongSizeText(check.length), WRONG_SIZE_CAPTION};
    }
    return {"Not a Moonglass ROM", "Wrong Game"};
}

WindowText WorkingCopyNotWritten(const std::string& path, const std::string& error) {
    return {
        "The working copy " + path + " could not be written (" + error + "). Nothing was loaded.",
        "Cannot load ROM"};
}

WindowText BadInstall(const std::string& folder) {
    return {"You didn't extract the " + folder + " images to the right directory", "Bad install"};
}

WindowText TooManyBitmaps(const std::string& folder, std::size_t loaded, std::size_t leftOut) {
    return {"The folder " + folder + " holds more bitmaps than a size class can show: the first " +
                std::to_string(loaded) + " were loaded and " + std::to_string(leftOut) +
                " were left out.",
            "Too many bitmaps"};
}

WindowText UserBitmapErrors(const std::vector<UserBitmapRefusalEntry>& refusals) {
    if (refusals.empty()) {
        return {};
    }
    std::string text = "The following images will not be loaded:\n\n";
    for (const UserBitmapRefusalEntry& refusal : refusals) {
        text += RefusalPrefix(refusal.reason) + refusal.fileName + "\n";
    }
    return {text, "Errors with User bitmaps!"};
}

WindowText Convert(ConvertResult result) {
    switch (result) {
        case ConvertResult::Ok:
            return {};
        case ConvertResult::NotBitmap:
            return {"Not a bitmap!", "Bad file"};
        case ConvertResult::TooManyColors:
            return {"Invalid 16-bit Bitmap - too many colors present", "Too many colors"};
        case ConvertResult::CannotOpen:
            return {"The bitmap file cannot be opened or read.", "Cannot open file"};
        case ConvertResult::TooShort:
            return {"The bitmap file is too short to hold its headers - it may have been cut off.",
                    "Bad file"};
        case ConvertResult::BadPaletteCount:
            return {
                "Invalid bitmap - its header gives a color table of fewer than 1 or more "
                "than 256 colors.",
                "Bad file"};
        case ConvertResult::TooLarge:
            return {
                "Image too large - a 4-bit or 8-bit bitmap may have at most 4096 pixels, a "
                "16-bit bitmap at most 2048.",
                "Image too large"};
        case ConvertResult::UnsupportedInfoHeader:
            return {
                "This bitmap uses a newer header format whose colors cannot be read. Please "
                "save the picture as a classic Windows 3 bitmap (BMP with a 40-byte header) "
                "and try again.",
                "Unsupported bitmap"};
        case ConvertResult::NoPixels:
            return {"Image too small - the bitmap has too few pixels to make a texture.",
                    "Image too small"};
    }
    return {"The bitmap cannot be converted.", "Bad file"};
}

WindowText Replace(ReplaceVerdict verdict) {
    switch (verdict) {
        case ReplaceVerdict::Recorded:
        case ReplaceVerdict::NoTarget:
            return {};
        case ReplaceVerdict::UserTarget:
            return {"User images cannot be replaced, as they are not part of the game.", "BAD"};
        case ReplaceVerdict::SameImage:
            return {"Same image", "No Replacement Needed"};
        case ReplaceVerdict::TooLarge:
            return {"Too large, cannot replace", "Too Large"};
    }
    return {};
}

WindowText ScratchNotWritten(const std::string& error) {
    return {"The converted texture could not be saved: " + error, "Cannot write file"};
}

// An overlap shows the editor's own words (TOO_FAR).
WindowText NewRom(const NewRomResult& result) {
    const std::string target = HexText(result.entry.targetOffset);
    switch (result.error) {
        case NewRomError::None:
            return {};
        case NewRomError::WorkingWrongSize:
            return {WrongSizeText(result.workingLength), WRONG_SIZE_CAPTION};
        case NewRomError::WorkingNotSwapped:
            return {std::string("The working ROM") + NOT_SWAPPED_TEXT, WRONG_ORDER_CAPTION};
        case NewRomError::TargetPastEnd:
            return {"The replacement at " + target + " is " + std::to_string(result.entry.length) +
                        " bytes long and would reach past the end of the ROM image at " +
                        HexText(ROM_IMAGE_SIZE) + "." + NOTHING_WRITTEN,
                    REDO_CAPTION};
        case NewRomError::SourcePastEnd:
            if (result.entry.source == UNKNOWN_SOURCE) {
                return {"The replacement chosen for the texture at " + target +
                            " is not in the catalogue." + NOTHING_WRITTEN,
                        REDO_CAPTION};
            }
            return {"The replacement for the texture at " + target + " would copy " +
                        std::to_string(result.entry.length) + " bytes from " +
                        HexText(result.entry.source) + ", past the end of the ROM image at " +
                        HexText(ROM_IMAGE_SIZE) + "." + NOTHING_WRITTEN,
                    REDO_CAPTION};
        case NewRomError::UserBitmap: {
            const WindowText convert = Convert(result.convertResult);
            return {convert.text + " (" + result.userName +
                        ", the replacement for the texture at " + target + ")" + NOTHING_WRITTEN,
                    convert.caption};
        }
        case NewRomError::Overlap:
            return TOO_FAR;
        case NewRomError::SameAsWorking:
            return OUTPUT_IS_WORKING_ROM;
        case NewRomError::CannotReadWorking:
            return {"The working ROM cannot be read (" + result.detail + ")." + NOTHING_WRITTEN,
                    CANNOT_READ.caption};
        case NewRomError::CannotWrite:
            return {"The new ROM could not be written: " + result.detail +
                        ". A file of that name was left as it was.",
                    CANNOT_WRITE_CAPTION};
    }
    return {"The new ROM could not be made.", CANNOT_WRITE_CAPTION};
}

namespace {

template <typename... Values>
std::string Format(const char* pattern, Values... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

// A game texture's colours from its palette byte, "?" when the ROM cannot be read there.
std::string Colours(const TextureFacts& facts) {
    if (facts.user) {
        return std::to_string(facts.entries);
    }
    return facts.paletteByte ? std::to_string(*facts.paletteByte + 1) : "?";
}

}  // namespace

std::string TextureCount(std::uint32_t count) {
    return Format("%u Textures Found!", count);
}

std::string TextureSummary(const TextureFacts& facts) {
    if (!facts.user) {
        return Format("Texture: %s Colors - Size Available 0x%X Mem %X ", Colours(facts).c_str(),
                      facts.room, facts.offset);
    }
    if (facts.convert != ConvertResult::Ok) {
        return "Texture: cannot be used - " + Convert(facts.convert).text;
    }
    return Format("Texture: %d Colors - Size Compressed 0x%X  Width %X  x  Height %X",
                  facts.entries, facts.compressedSize, facts.width, facts.height);
}

std::string ReplacementLine(const TextureFacts& facts) {
    return Colours(facts) + " Colors - Size " +
           HexText(facts.user ? facts.compressedSize : facts.room);
}

std::string DisplayedDescription(const std::string& description) {
    std::string text = description.size() > 6 ? description.substr(6) : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string FolderForMessage(int sizeClass) {
    std::string folder(SizeClasses()[sizeClass].folder);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

// Every text says that nothing was written.
WindowText PatchRead(const PatchReadResult& result) {
    const std::string record = RecordName(result.recordIndex, result.count, result.record);
    const std::string previous = "the record before it (offset " + HexText(result.previous.offset) +
                                 ", " + std::to_string(result.previous.length) + " bytes)";
    std::string text;
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::NoRecordCount:
            text = "This is not a custom ROM patch: the file is only " +
                   std::to_string(result.fileSize) +
                   " bytes long, too short to hold its record count.";
            break;
        case PatchError::TooManyRecords:
            text = "This is not a usable custom ROM patch: it claims " +
                   std::to_string(result.count) + " records, but a patch holds at most " +
                   std::to_string(MAX_PATCH_RECORDS) + ".";
            break;
        case PatchError::TableCut:
            text = "This custom ROM patch is cut short: its " + std::to_string(result.count) +
                   " records need a table of " + std::to_string(result.expectedSize) +
                   " bytes, but the file has only " + std::to_string(result.fileSize) + ".";
            break;
        case PatchError::EmptyRecord:
            text = "This custom ROM patch is damaged: " + record + " holds no bytes.";
            break;
        case PatchError::PastImage:
            text = "This custom ROM patch does not fit the ROM image: " + record +
                   " reaches past the image's end at " + HexText(ROM_IMAGE_SIZE) + ".";
            break;
        case PatchError::Unordered:
            text = "This custom ROM patch is damaged: " + record + " comes before " + previous +
                   "; records must be in ascending order.";
            break;
        case PatchError::Overlapping:
            text =
                "This custom ROM patch is damaged: " + record + " starts inside " + previous + ".";
            break;
        case PatchError::OddBlock:
            text = "This custom ROM patch cannot be read safely: " + record +
                   " has an odd length but is not the last record, so the data behind it would "
                   "start at an odd position in the file.";
            break;
        case PatchError::WrongFileSize:
            text = "This custom ROM patch is damaged or cut short: its records need a file of " +
                   std::to_string(result.expectedSize) + " bytes, but the file has " +
                   std::to_string(result.fileSize) + " bytes.";
            break;
        default:
            text = "This custom ROM patch cannot be read.";
            break;
    }
    return {text + NOTHING_WRITTEN, BAD_PATCH_CAPTION};
}

WindowText PatchFile(const PatchFileResult& result) {
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::TooManyRecords:
            return {"The changes between the two ROM images need " +
                        std::to_string(result.recordCount) +
                        " patch records, but a custom ROM patch holds at most " +
                        std::to_string(MAX_PATCH_RECORDS) + ", so no patch was written.",
                    PATCH_TOO_LARGE_CAPTION};
        case PatchError::DifferentImages:
            return {"The two ROM images differ in size, so no patch can be made." +
                        std::string(NOTHING_WRITTEN),
                    PATCH_TOO_LARGE_CAPTION};
        default:
            return FileFault(result.error, result.imageLength, result.detail,
                             PATCH_OUTPUT_IS_INPUT);
    }
}

WindowText PatchApply(const PatchApplyResult& result) {
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::ImageWrongSize:
        case PatchError::ImageNotSwapped:
        case PatchError::SameAsInput:
        case PatchError::CannotRead:
        case PatchError::CannotWrite:
            return FileFault(result.error, result.imageLength,
                             result.detail.empty() ? std::string("The working ROM") : result.detail,
                             PATCHED_OUTPUT_IS_INPUT);
        default:
            return PatchRead(result.patch);
    }
}

}  // namespace window_texts
