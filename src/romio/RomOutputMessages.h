#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "catalogue/RomMessages.h"
#include "codec/ConvertMessages.h"
#include "io/RomImage.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"

// What the user is told by Save New ROM, the patch writer and Apply Patch: the editor's message
// boxes and the command-line tool use the same words. Refusals that name a file or a record are
// built by the functions below from the operation's result.

namespace rom_output_messages {

inline constexpr RomFixedMessage NO_CHANGES{"No changes!", "No changes."};
inline constexpr RomFixedMessage TOO_FAR{"Bad Forcing Amount - Too Far", "Redo it"};
inline constexpr RomFixedMessage PATCH_QUESTION{"Save as a custom ROM Patch?", "Custom ROM Patch?"};
// The Replace command's refusals, which `mgromtool build` repeats.
inline constexpr RomFixedMessage SAME_IMAGE{"Same image", "No Replacement Needed"};
inline constexpr RomFixedMessage TOO_LARGE{"Too large, cannot replace", "Too Large"};

inline constexpr RomFixedMessage OUTPUT_IS_WORKING_ROM{
    "The new ROM cannot be saved over the working ROM it is made from. Please choose another "
    "file name.",
    "Choose another file"};
inline constexpr RomFixedMessage PATCHED_OUTPUT_IS_INPUT{
    "The patched ROM cannot be saved over the working ROM or over the patch itself. Please "
    "choose another file name.",
    "Choose another file"};
inline constexpr RomFixedMessage PATCH_OUTPUT_IS_INPUT{
    "The patch cannot be saved over one of the ROM images it is made from. Please choose "
    "another file name.",
    "Choose another file"};
inline constexpr const char* NOT_SWAPPED_TEXT =
    " is not a ROM image in swapped byte order (\"OMNO\" at 0x20), so nothing was written.";

inline constexpr const char* REDO_CAPTION = "Redo it";
inline constexpr const char* BAD_PATCH_CAPTION = "Bad patch";
inline constexpr const char* PATCH_TOO_LARGE_CAPTION = "Patch too large";
inline constexpr const char* WRONG_ORDER_CAPTION = "Wrong byte order";
inline constexpr const char* CANNOT_WRITE_CAPTION = "Cannot write file";
inline constexpr const char* NOTHING_WRITTEN = " Nothing was written.";

}  // namespace rom_output_messages

// Upper-case hexadecimal without prefix, as offsets are shown everywhere.
inline std::string HexText(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

inline RomMessage FixedMessage(const RomFixedMessage& message) {
    return {message.text, message.caption};
}

// What a replacement that runs into the next one collides with: "the replacement at X (N bytes)
// runs into the one at Y". For the command line, which adds it below TOO_FAR's text.
inline std::string OverlapDetail(const NewRomResult& result) {
    return "the replacement at " + HexText(result.entry.targetOffset) + " (" +
           std::to_string(result.entry.length) + " bytes) runs into the one at " +
           HexText(result.next.targetOffset);
}

// The message for a refused or failed Save New ROM; empty texts for None. An overlap shows the
// editor's own words (TOO_FAR).
inline RomMessage NewRomMessage(const NewRomResult& result) {
    namespace m = rom_output_messages;
    const std::string target = HexText(result.entry.targetOffset);
    switch (result.error) {
        case NewRomError::None:
            return {};
        case NewRomError::WorkingWrongSize:
            return {WrongSizeText(result.workingLength), rom_messages::WRONG_SIZE_CAPTION};
        case NewRomError::WorkingNotSwapped:
            return {std::string("The working ROM") + m::NOT_SWAPPED_TEXT, m::WRONG_ORDER_CAPTION};
        case NewRomError::TargetPastEnd:
            return {"The replacement at " + target + " is " + std::to_string(result.entry.length) +
                        " bytes long and would reach past the end of the ROM image at " +
                        HexText(ROM_IMAGE_SIZE) + "." + m::NOTHING_WRITTEN,
                    m::REDO_CAPTION};
        case NewRomError::SourcePastEnd:
            if (result.entry.source == UNKNOWN_SOURCE) {
                return {"The replacement chosen for the texture at " + target +
                            " is not in the catalogue." + m::NOTHING_WRITTEN,
                        m::REDO_CAPTION};
            }
            return {"The replacement for the texture at " + target + " would copy " +
                        std::to_string(result.entry.length) + " bytes from " +
                        HexText(result.entry.source) + ", past the end of the ROM image at " +
                        HexText(ROM_IMAGE_SIZE) + "." + m::NOTHING_WRITTEN,
                    m::REDO_CAPTION};
        case NewRomError::UserBitmap: {
            const ConvertMessage convert = ConvertResultMessage(result.convertResult);
            return {std::string(convert.text) + " (" + result.userName +
                        ", the replacement for the texture at " + target + ")" + m::NOTHING_WRITTEN,
                    convert.caption};
        }
        case NewRomError::Overlap:
            return FixedMessage(m::TOO_FAR);
        case NewRomError::SameAsWorking:
            return FixedMessage(m::OUTPUT_IS_WORKING_ROM);
        case NewRomError::CannotReadWorking:
            return {"The working ROM cannot be read (" + result.detail + ")." + m::NOTHING_WRITTEN,
                    rom_messages::CANNOT_READ.caption};
        case NewRomError::CannotWrite:
            return {"The new ROM could not be written: " + result.detail +
                        ". A file of that name was left as it was.",
                    m::CANNOT_WRITE_CAPTION};
    }
    return {"The new ROM could not be made.", m::CANNOT_WRITE_CAPTION};
}

namespace rom_output_detail {

inline std::string RecordName(std::size_t index, std::uint32_t count, const PatchRecord& record) {
    return "record " + std::to_string(index + 1) + " of " + std::to_string(count) + " (offset " +
           HexText(record.offset) + ", " + std::to_string(record.length) + " bytes)";
}

}  // namespace rom_output_detail

// The message for a patch that ReadPatch refused; empty texts for None. Every text says that
// nothing was written.
inline RomMessage PatchReadMessage(const PatchReadResult& result) {
    namespace m = rom_output_messages;
    using rom_output_detail::RecordName;
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
    return {text + m::NOTHING_WRITTEN, m::BAD_PATCH_CAPTION};
}

namespace rom_output_detail {

// Texts shared by the patch writer and Apply Patch for the file faults. `detail` names the image
// for ImageWrongSize and ImageNotSwapped (a quoted path, or "The working ROM").
inline RomMessage FileFault(PatchError error, std::uint64_t imageLength, const std::string& detail,
                            const RomFixedMessage& sameAsInput) {
    namespace m = rom_output_messages;
    switch (error) {
        case PatchError::ImageWrongSize:
            return {detail + ": " + WrongSizeText(imageLength), rom_messages::WRONG_SIZE_CAPTION};
        case PatchError::ImageNotSwapped:
            return {detail + m::NOT_SWAPPED_TEXT, m::WRONG_ORDER_CAPTION};
        case PatchError::SameAsInput:
            return FixedMessage(sameAsInput);
        case PatchError::CannotRead:
            return {"The file cannot be read (" + detail + ")." + m::NOTHING_WRITTEN,
                    rom_messages::CANNOT_READ.caption};
        case PatchError::CannotWrite:
            return {"The file could not be written: " + detail +
                        ". A file of that name was left as it was.",
                    m::CANNOT_WRITE_CAPTION};
        default:
            return {"The file cannot be handled." + std::string(m::NOTHING_WRITTEN),
                    m::CANNOT_WRITE_CAPTION};
    }
}

}  // namespace rom_output_detail

// The message for a refused or failed patch write; empty texts for None.
inline RomMessage PatchFileMessage(const PatchFileResult& result) {
    namespace m = rom_output_messages;
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::TooManyRecords:
            return {"The changes between the two ROM images need " +
                        std::to_string(result.recordCount) +
                        " patch records, but a custom ROM patch holds at most " +
                        std::to_string(MAX_PATCH_RECORDS) + ", so no patch was written.",
                    m::PATCH_TOO_LARGE_CAPTION};
        case PatchError::DifferentImages:
            return {"The two ROM images differ in size, so no patch can be made." +
                        std::string(m::NOTHING_WRITTEN),
                    m::PATCH_TOO_LARGE_CAPTION};
        default:
            return rom_output_detail::FileFault(result.error, result.imageLength, result.detail,
                                                m::PATCH_OUTPUT_IS_INPUT);
    }
}

// The message for a refused or failed Apply Patch; empty texts for None.
inline RomMessage PatchApplyMessage(const PatchApplyResult& result) {
    namespace m = rom_output_messages;
    switch (result.error) {
        case PatchError::None:
            return {};
        case PatchError::ImageWrongSize:
        case PatchError::ImageNotSwapped:
        case PatchError::SameAsInput:
        case PatchError::CannotRead:
        case PatchError::CannotWrite:
            return rom_output_detail::FileFault(
                result.error, result.imageLength,
                result.detail.empty() ? std::string("The working ROM") : result.detail,
                m::PATCHED_OUTPUT_IS_INPUT);
        default:
            return PatchReadMessage(result.patch);
    }
}
