// The refusals of IPS and BPS patches.

#include <cstdio>

#include "catalogue/ParseHex.h"
#include "io/RomImage.h"
#include "texts/RefusalTexts.h"

namespace refusal_texts {

namespace {

std::string At(std::uint64_t patchOffset) {
    return " (at byte " + std::to_string(patchOffset) + " of the patch)";
}

}  // namespace

std::string Crc32Text(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

std::string IpsRefusal(const IpsApplyResult& result) {
    const std::string record =
        "the record for image offset " + HexText(result.imageOffset) + At(result.patchOffset);
    switch (result.code) {
        case IpsCode::Ok:
            return {};
        case IpsCode::SourceWrongSize:
            return "The working ROM is not a whole ROM image, so the IPS patch cannot be applied.";
        case IpsCode::NotIps:
            return "This is not an IPS patch: it does not start with \"PATCH\".";
        case IpsCode::RecordCutShort:
            return "This IPS patch is cut short: " + record + " ends with the file.";
        case IpsCode::RecordOutsideImage:
            return "This IPS patch does not fit the ROM image: " + record +
                   " reaches past the image's end at " + HexText(ROM_IMAGE_SIZE) + ".";
        case IpsCode::MissingEof:
            return "This IPS patch is cut short: it ends without its \"EOF\" marker.";
        case IpsCode::TrailingBytes:
            return "This IPS patch is damaged: bytes that are no truncation size follow its "
                   "\"EOF\" marker.";
        case IpsCode::BadTruncationSize:
            return "This IPS patch asks for an image of " + std::to_string(result.truncationSize) +
                   " bytes, but a ROM image is exactly " + std::to_string(ROM_IMAGE_SIZE) +
                   " bytes.";
    }
    return "This IPS patch cannot be read.";
}

std::string BpsRefusal(const BpsApplyResult& result) {
    const std::string at = At(result.patchOffset);
    const std::string crcs = "CRC32 " + Crc32Text(result.expectedCrc) + "; the result has " +
                             Crc32Text(result.actualCrc) + ".";
    switch (result.code) {
        case BpsCode::Ok:
            return {};
        case BpsCode::SourceWrongSize:
            return "The working ROM is not a whole ROM image, so the BPS patch cannot be applied.";
        case BpsCode::NotBps:
            return "This is not a BPS patch: it does not start with \"BPS1\".";
        case BpsCode::TooShort:
            return "This BPS patch is cut short: it is too short for its header and checksums.";
        case BpsCode::NumberOverflow:
            return "This BPS patch is damaged: a number is too large" + at + ".";
        case BpsCode::NumberCutShort:
        case BpsCode::MetadataCutShort:
        case BpsCode::PastPatchEnd:
            return "This BPS patch is damaged or cut short: it runs into its checksums" + at + ".";
        case BpsCode::WrongSourceSize:
        case BpsCode::WrongTargetSize:
            return "This BPS patch is not for this game's ROM: it names an image of " +
                   std::to_string(result.size) + " bytes, but a ROM image is exactly " +
                   std::to_string(ROM_IMAGE_SIZE) + " bytes.";
        case BpsCode::PastTargetEnd:
        case BpsCode::PastSourceEnd:
        case BpsCode::TargetCopyNotWritten:
            return "This BPS patch is damaged: an action reaches outside the image" + at + ".";
        case BpsCode::TargetNotFilled:
            return "This BPS patch is damaged: its actions end before the whole image is made.";
        case BpsCode::PatchChecksumMismatch:
            return "This BPS patch is damaged: its own checksum does not match its bytes.";
        case BpsCode::SourceChecksumMismatch:
            return "This BPS patch does not fit your ROM: this patch was made for a ROM with "
                   "CRC32 " +
                   Crc32Text(result.expectedCrc) + "; yours has " + Crc32Text(result.actualCrc) +
                   "." +
                   (result.matchesOtherByteOrder
                        ? " It would match your ROM in the other byte order (the two bytes of "
                          "every pair exchanged): it was made from a byte-swapped dump, and "
                          "patches apply to the native-order image."
                        : "");
        case BpsCode::TargetChecksumMismatch:
            return "This BPS patch is damaged: the image it makes should have " + crcs;
    }
    return "This BPS patch cannot be read.";
}

}  // namespace refusal_texts
