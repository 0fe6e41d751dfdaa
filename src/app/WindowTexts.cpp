#include "app/WindowTexts.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "io/RomImage.h"
#include "texts/RefusalTexts.h"

namespace window_texts {

namespace {

namespace refusal = refusal_texts;

constexpr const char* WRONG_SIZE_CAPTION = "Wrong size";
constexpr const char* REDO_CAPTION = "Redo it";
constexpr const char* BAD_PATCH_CAPTION = "Bad patch";
constexpr const char* PATCH_TOO_LARGE_CAPTION = "Patch too large";
constexpr const char* WRONG_ORDER_CAPTION = "Wrong byte order";
constexpr const char* CANNOT_OPEN_CAPTION = "Cannot open file";
constexpr const char* CANNOT_WRITE_CAPTION = "Cannot write file";
constexpr const char* CHOOSE_ANOTHER_CAPTION = "Choose another file";

// The caption of a file fault of the patch writer and Apply Patch.
const char* FileFaultCaption(PatchError error) {
    switch (error) {
        case PatchError::ImageWrongSize:
            return WRONG_SIZE_CAPTION;
        case PatchError::ImageNotSwapped:
            return WRONG_ORDER_CAPTION;
        case PatchError::SameAsInput:
            return CHOOSE_ANOTHER_CAPTION;
        case PatchError::CannotRead:
            return CANNOT_OPEN_CAPTION;
        default:
            return CANNOT_WRITE_CAPTION;
    }
}

const char* ConvertCaption(ConvertResult result) {
    switch (result) {
        case ConvertResult::TooManyColors:
        case ConvertResult::TooManyReducedColors:
            return "Too many colors";
        case ConvertResult::CutShort:
        case ConvertResult::BadPng:
            return "Picture cut short";
        case ConvertResult::CannotOpen:
            return CANNOT_OPEN_CAPTION;
        case ConvertResult::TooLarge:
            return "Image too large";
        case ConvertResult::UnsupportedInfoHeader:
            return "Unsupported bitmap";
        case ConvertResult::NoPixels:
            return "Image too small";
        default:
            return "Bad file";
    }
}

const char* NewRomCaption(const NewRomResult& result) {
    switch (result.error) {
        case NewRomError::WorkingWrongSize:
            return WRONG_SIZE_CAPTION;
        case NewRomError::WorkingNotSwapped:
            return WRONG_ORDER_CAPTION;
        case NewRomError::TargetPastEnd:
        case NewRomError::SourcePastEnd:
        case NewRomError::Overlap:
            return REDO_CAPTION;
        case NewRomError::UserBitmap:
            return ConvertCaption(result.convertResult);
        case NewRomError::SameAsWorking:
            return CHOOSE_ANOTHER_CAPTION;
        case NewRomError::CannotReadWorking:
            return CANNOT_OPEN_CAPTION;
        case NewRomError::RecordMismatch:
            return "Not saved";
        default:
            return CANNOT_WRITE_CAPTION;
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
            return {refusal::CANNOT_READ_ROM, CANNOT_OPEN_CAPTION};
        case RomVerdict::WrongGame:
            break;
        case RomVerdict::WrongRegion:
            return {"Only NTSC MG ROM Allowed", "Wrong Region"};
        case RomVerdict::WrongSize:
            return {refusal::WrongSize(check.length), WRONG_SIZE_CAPTION};
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
        text += refusal::UserRefusalPrefix(refusal.reason) + refusal.fileName + "\n";
    }
    return {text, "Errors with User bitmaps!"};
}

WindowText Convert(ConvertResult result, int colours, const std::string& reason) {
    if (result == ConvertResult::Ok) {
        return {};
    }
    UserImage image;
    image.result = result;
    image.colours = colours;
    image.reason = reason;
    return {refusal::UserImageRefusal(image), ConvertCaption(result)};
}

WindowText Convert(ConvertResult result) {
    if (result == ConvertResult::Ok) {
        return {};
    }
    return {refusal::Convert(result), ConvertCaption(result)};
}

WindowText Replace(ReplaceVerdict verdict) {
    switch (verdict) {
        case ReplaceVerdict::Recorded:
        case ReplaceVerdict::NoTarget:
            return {};
        case ReplaceVerdict::UserTarget:
            return {"User images cannot be replaced, as they are not part of the game.", "BAD"};
        case ReplaceVerdict::NoSource:
            return {
                "Choose the replacement texture first: double-click it in the list, then "
                "right-click the texture to replace and choose Replace.",
                "No Replacement Chosen"};
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

WindowText NewRom(const NewRomResult& result) {
    if (result.error == NewRomError::None) {
        return {};
    }
    return {refusal::NewRom(result), NewRomCaption(result)};
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
        return "Texture: cannot be used - " +
               Convert(facts.convert, facts.colours, facts.reason).text;
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
    if (result.error == PatchError::None) {
        return {};
    }
    return {refusal::PatchRead(result), BAD_PATCH_CAPTION};
}

WindowText PatchFile(const PatchFileResult& result) {
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::TooManyRecords:
        case PatchError::DifferentImages:
            return {refusal::PatchFile(result), PATCH_TOO_LARGE_CAPTION};
        default:
            return {refusal::PatchFile(result), FileFaultCaption(result.error)};
    }
}

WindowText PatchApply(const PatchApplyResult& result) {
    if (result.error == PatchError::None) {
        return {};
    }
    return {refusal::PatchApply(result), refusal::IsFileFault(result.error)
                                             ? FileFaultCaption(result.error)
                                             : BAD_PATCH_CAPTION};
}

std::string RomIdentity(const std::string& fileName, std::uint32_t nativeCrc) {
    return fileName + " loaded: CRC32 " + refusal::Crc32Text(nativeCrc);
}

}  // namespace window_texts
