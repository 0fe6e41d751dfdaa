#include "texts/ExtractTexts.h"

#include <cstdio>

#include "catalogue/SizeClasses.h"
#include "texts/TextFormat.h"

namespace {

std::string InflateReason(InflateResult inflate) {
    switch (inflate) {
        case InflateResult::Ok:
            return "no fault";
        case InflateResult::InputEnded:
            return "it ends too early";
        case InflateResult::BadBlockType:
            return "a block of an unknown type";
        case InflateResult::BadStoredLength:
            return "a stored block whose length disagrees with its check";
        case InflateResult::BadCodeLengths:
            return "code lengths that form no code";
        case InflateResult::BadSymbol:
            return "a length or distance code that does not exist";
        case InflateResult::DistanceTooFar:
            return "a copy from before its start";
        case InflateResult::OutputPastLimit:
            return "more bytes than the texture holds";
    }
    return "a fault";
}

std::string ClassLabel(int sizeClass) {
    return std::string(SizeClasses().at(static_cast<std::size_t>(sizeClass)).comboLabel);
}

}  // namespace

namespace extract_texts {

std::string DecodeReason(RecordDecodeResult result, InflateResult inflate) {
    switch (result) {
        case RecordDecodeResult::Ok:
            return "it decodes";
        case RecordDecodeResult::TooShort:
            return "the image ends inside its header";
        case RecordDecodeResult::BadFormatCode:
            return "its first byte is no texture format (09 to 0C)";
        case RecordDecodeResult::BadPaletteCount:
            return "its palette count does not suit its depth";
        case RecordDecodeResult::ZeroSize:
            return "its width or height is 0";
        case RecordDecodeResult::BadStreamMagic:
            return "the bytes 11 72 do not follow its size";
        case RecordDecodeResult::StreamFault:
            return "its compressed data is damaged (" + InflateReason(inflate) + ")";
        case RecordDecodeResult::WrongDataLength:
            return "its compressed data does not give as many bytes as the texture holds";
        case RecordDecodeResult::IndexOutOfRange:
            return "a pixel uses a colour past its palette";
    }
    return "it cannot be read";
}

std::string NoTextureAt(std::uint32_t offset, const RecordDecodeOutcome& outcome) {
    return FormatText("There is no texture record at %X: ", static_cast<unsigned>(offset)) +
           DecodeReason(outcome.result, outcome.inflateResult) + ". Nothing was written.";
}

std::string OffsetPastImage(std::uint32_t offset, std::size_t imageSize) {
    return FormatText(
        "There is no texture record at %X: the image ends at %zX. Nothing was written.",
        static_cast<unsigned>(offset), imageSize);
}

std::string BuildRefusal(const CatalogueBuildResult& result) {
    switch (result.error) {
        case CatalogueBuildError::None:
            return {};
        case CatalogueBuildError::Cancelled:
            return "Building the catalogue was cancelled. Nothing was changed.";
        case CatalogueBuildError::Exists:
            return "\"" + result.conflict.string() +
                   "\" exists already and is not written over. Nothing was written.";
        case CatalogueBuildError::CannotWrite:
            return "The catalogue could not be written: " + result.detail +
                   ". Nothing was changed.";
        case CatalogueBuildError::NoTextures:
            return "The ROM holds no texture record of a game size class, so there is no "
                   "catalogue to build. Nothing was written.";
    }
    return "The catalogue could not be built.";
}

std::string BuildSummary(const CatalogueBuildResult& result) {
    const CataloguePlan& plan = result.plan;
    std::string text;
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const std::size_t count = plan.perClass[static_cast<std::size_t>(sizeClass)];
        if (count > 0) {
            text += FormatText("  %-9s %4zu texture%s\n", ClassLabel(sizeClass).c_str(), count,
                               count == 1 ? "" : "s");
        }
    }
    text += FormatText("%zu texture%s in %s, %zu record%s left out%s\n", plan.textures.size(),
                       plan.textures.size() == 1 ? "" : "s", "the catalogue", plan.leftOut.size(),
                       plan.leftOut.size() == 1 ? "" : "s", plan.leftOut.empty() ? "." : ":");
    for (const LeftOutRecord& record : plan.leftOut) {
        const char* why = record.reason == LeftOutReason::NoClass ? "no size class"
                          : record.reason == LeftOutReason::InsideAnother
                              ? "inside an earlier record"
                              : "no room left in the image table";
        text += FormatText("  %06X  %5zu bytes  %3d x %-3d %c  %s\n",
                           static_cast<unsigned>(record.offset), record.size, record.width,
                           record.height, record.formatFlag, why);
    }
    if (!result.strayBitmaps.empty()) {
        text += FormatText(
            "%zu bitmap%s in the class folders %s no texture of this ROM; the editor "
            "would give %s its default room, so remove %s:\n",
            result.strayBitmaps.size(), result.strayBitmaps.size() == 1 ? "" : "s",
            result.strayBitmaps.size() == 1 ? "is" : "are",
            result.strayBitmaps.size() == 1 ? "it" : "them",
            result.strayBitmaps.size() == 1 ? "it" : "them");
        for (const auto& path : result.strayBitmaps) {
            text += "  " + path.string() + "\n";
        }
    }
    return text;
}

std::string BuildDone(const CatalogueBuildResult& result) {
    return FormatText(
               "The catalogue now holds %zu textures of this ROM: %zu bitmaps and the image "
               "table were written, %zu empty description files created. %zu other records "
               "of the ROM are not in it (mgromtool extract lists them).",
               result.plan.textures.size(), result.bitmapsWritten, result.descriptionFilesCreated,
               result.plan.leftOut.size()) +
           (result.strayBitmaps.empty()
                ? std::string()
                : FormatText(" %zu bitmaps in the class folders are no texture of this ROM and "
                             "would get the default room: remove them (mgromtool extract lists "
                             "them).",
                             result.strayBitmaps.size()));
}

std::string VerifyFinding(const ::VerifyFinding& finding) {
    const TextureCheck& check = finding.check;
    std::string what;
    switch (check.verdict) {
        case TextureVerdict::Sound:
            what = "sound";
            break;
        case TextureVerdict::DoesNotDecode:
            what = "the record does not decode: " + DecodeReason(check.decode, check.inflate);
            break;
        case TextureVerdict::BitmapUnreadable:
            what = "the bitmap cannot be read";
            break;
        case TextureVerdict::SizeDiffers:
            what = "the bitmap's size is not the record's";
            break;
        case TextureVerdict::PixelsDiffer:
            what = FormatText("the picture differs from the bitmap at pixel (%d, %d)", check.x,
                              check.y);
            break;
    }
    return FormatText("%06X  %-9s ", static_cast<unsigned>(finding.offset),
                      ClassLabel(finding.sizeClass).c_str()) +
           finding.bitmap.filename().string() + ": " + what;
}

std::string VerifyVerdict(const VerifyReport& report) {
    return FormatText("%zu textures checked, %zu not sound.", report.texturesChecked,
                      report.findings.size());
}

}  // namespace extract_texts
