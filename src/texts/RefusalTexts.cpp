#include "texts/RefusalTexts.h"

#include "catalogue/ParseHex.h"
#include "io/RomImage.h"

namespace refusal_texts {

namespace {

constexpr const char* NOT_SWAPPED_TEXT =
    " is not a ROM image in swapped byte order (\"OMNO\" at 0x20), so nothing was written.";
constexpr const char* NOTHING_WRITTEN = " Nothing was written.";

std::string RecordName(std::size_t index, std::uint32_t count, const PatchRecord& record) {
    return "record " + std::to_string(index + 1) + " of " + std::to_string(count) + " (offset " +
           HexText(record.offset) + ", " + std::to_string(record.length) + " bytes)";
}

// The file faults of the patch writer and Apply Patch. `detail` names the image for
// ImageWrongSize and ImageNotSwapped (a quoted path, or "The working ROM"), else what failed.
std::string FileFault(PatchError error, std::uint64_t imageLength, const std::string& detail,
                      const char* sameAsInput) {
    switch (error) {
        case PatchError::ImageWrongSize:
            return detail + ": " + WrongSize(imageLength);
        case PatchError::ImageNotSwapped:
            return detail + NOT_SWAPPED_TEXT;
        case PatchError::SameAsInput:
            return sameAsInput;
        case PatchError::CannotRead:
            return "The file cannot be read (" + detail + ")." + NOTHING_WRITTEN;
        case PatchError::CannotWrite:
            return "The file could not be written: " + detail +
                   ". A file of that name was left as it was.";
        default:
            return "The file cannot be handled." + std::string(NOTHING_WRITTEN);
    }
}

}  // namespace

std::string WrongSize(std::uint64_t fileLength) {
    return "Not a Moonglass ROM image: the file is " + std::to_string(fileLength) +
           " bytes long, a ROM image is exactly " + std::to_string(ROM_IMAGE_SIZE) + " bytes.";
}

std::string Convert(ConvertResult result) {
    switch (result) {
        case ConvertResult::Ok:
            return {};
        case ConvertResult::NotBitmap:
            return "Not a bitmap!";
        case ConvertResult::TooManyColors:
            return "Invalid 16-bit Bitmap - too many colors present";
        case ConvertResult::CannotOpen:
            return "The bitmap file cannot be opened or read.";
        case ConvertResult::TooShort:
            return "The bitmap file is too short to hold its headers - it may have been cut off.";
        case ConvertResult::BadPaletteCount:
            return "Invalid bitmap - its header gives a color table of fewer than 1 or more than "
                   "256 colors.";
        case ConvertResult::TooLarge:
            return "Image too large - a 4-bit or 8-bit bitmap may have at most 4096 pixels, a "
                   "16-bit bitmap at most 2048.";
        case ConvertResult::UnsupportedInfoHeader:
            return "This bitmap uses a newer header format whose colors cannot be read. Please "
                   "save the picture as a classic Windows 3 bitmap (BMP with a 40-byte header) "
                   "and try again.";
        case ConvertResult::NoPixels:
            return "Image too small - the bitmap has too few pixels to make a texture.";
        case ConvertResult::CutShort:
            return "The picture is cut short - the file ends before the pixel data it describes. "
                   "Please save the picture again.";
        case ConvertResult::TooManyReducedColors:
            return "Too many colors - with each color cut to 5 bits of red, green and blue, the "
                   "picture still has more than 256 colors, and a texture holds at most 256.";
        case ConvertResult::BadPng:
            return "The PNG file cannot be read - it may be damaged or cut short.";
    }
    return "The bitmap cannot be converted.";
}

std::string UserImageRefusal(const UserImage& image) {
    if (image.result == ConvertResult::TooManyReducedColors && image.colours > 0) {
        return "Too many colors - with each color cut to 5 bits of red, green and blue, the "
               "picture still has " +
               std::to_string(image.colours) + " colors, and a texture holds at most 256.";
    }
    if (image.result == ConvertResult::BadPng && !image.reason.empty()) {
        std::string text = Convert(image.result);
        text.insert(text.size() - 1, " (libpng: " + image.reason + ")");  // before the full stop
        return text;
    }
    return Convert(image.result);
}

std::string TranslucencyNote(const UserImage& image) {
    return image.translucent ? "Note: the picture has pixels that are not fully opaque; the "
                               "texture ignores transparency."
                             : "";
}

const char* UserRefusalPrefix(UserBitmapReason reason) {
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

std::string NewRom(const NewRomResult& result) {
    const std::string target = HexText(result.entry.targetOffset);
    switch (result.error) {
        case NewRomError::None:
            return {};
        case NewRomError::WorkingWrongSize:
            return WrongSize(result.workingLength);
        case NewRomError::WorkingNotSwapped:
            return std::string("The working ROM") + NOT_SWAPPED_TEXT;
        case NewRomError::TargetPastEnd:
            return "The replacement at " + target + " is " + std::to_string(result.entry.length) +
                   " bytes long and would reach past the end of the ROM image at " +
                   HexText(ROM_IMAGE_SIZE) + "." + NOTHING_WRITTEN;
        case NewRomError::SourcePastEnd:
            if (result.entry.source == UNKNOWN_SOURCE) {
                return "The replacement chosen for the texture at " + target +
                       " is not in the catalogue." + NOTHING_WRITTEN;
            }
            return "The replacement for the texture at " + target + " would copy " +
                   std::to_string(result.entry.length) + " bytes from " +
                   HexText(result.entry.source) + ", past the end of the ROM image at " +
                   HexText(ROM_IMAGE_SIZE) + "." + NOTHING_WRITTEN;
        case NewRomError::UserBitmap:
            return Convert(result.convertResult) + " (" + result.userName +
                   ", the replacement for the texture at " + target + ")" + NOTHING_WRITTEN;
        case NewRomError::Overlap:
            return TOO_FAR;
        case NewRomError::RecordMismatch:
            return "The texture record made from " + result.userName + " for the texture at " +
                   target +
                   " does not read back as the picture it was made from, so the game could not "
                   "show it. This is a fault of the editor, not of the bitmap." +
                   NOTHING_WRITTEN;
        case NewRomError::SameAsWorking:
            return OUTPUT_IS_WORKING_ROM;
        case NewRomError::CannotReadWorking:
            return "The working ROM cannot be read (" + result.detail + ")." + NOTHING_WRITTEN;
        case NewRomError::CannotWrite:
            return "The new ROM could not be written: " + result.detail +
                   ". A file of that name was left as it was.";
    }
    return "The new ROM could not be made.";
}

std::string OverlapDetail(const NewRomResult& result) {
    return "the replacement at " + HexText(result.entry.targetOffset) + " (" +
           std::to_string(result.entry.length) + " bytes) runs into the one at " +
           HexText(result.next.targetOffset);
}

std::string PatchRead(const PatchReadResult& result) {
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
        case PatchError::IpsRefused:
            text = IpsRefusal(result.ips);
            break;
        case PatchError::BpsRefused:
            text = BpsRefusal(result.bps);
            break;
        default:
            text = "This custom ROM patch cannot be read.";
            break;
    }
    return text + NOTHING_WRITTEN;
}

std::string PatchFile(const PatchFileResult& result) {
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::TooManyRecords:
            return "The changes between the two ROM images need " +
                   std::to_string(result.recordCount) +
                   " patch records, but a custom ROM patch holds at most " +
                   std::to_string(MAX_PATCH_RECORDS) + ", so no patch was written.";
        case PatchError::DifferentImages:
            return "The two ROM images differ in size, so no patch can be made." +
                   std::string(NOTHING_WRITTEN);
        default:
            return FileFault(result.error, result.imageLength, result.detail,
                             "The patch cannot be saved over one of the ROM images it is made "
                             "from. Please choose another file name.");
    }
}

std::string PatchApply(const PatchApplyResult& result) {
    if (result.error == PatchError::None) {
        return {};
    }
    if (!IsFileFault(result.error)) {
        return PatchRead(result.patch);
    }
    return FileFault(result.error, result.imageLength,
                     result.detail.empty() ? std::string("The working ROM") : result.detail,
                     "The patched ROM cannot be saved over the working ROM or over the patch "
                     "itself. Please choose another file name.");
}

bool IsFileFault(PatchError error) {
    switch (error) {
        case PatchError::ImageWrongSize:
        case PatchError::ImageNotSwapped:
        case PatchError::SameAsInput:
        case PatchError::CannotRead:
        case PatchError::CannotWrite:
            return true;
        default:
            return false;
    }
}

}  // namespace refusal_texts
