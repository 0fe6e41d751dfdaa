#include "extract/CatalogueVerify.h"

#include <cstdlib>

#include "catalogue/CatalogueScan.h"
#include "catalogue/FolderListing.h"
#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "dib/CDib.h"
#include "dib/DibRender.h"
#include "extract/TextureBitmap.h"
#include "io/FileBytes.h"

namespace {

// A colour as the texture keeps it: five bits of red, green and blue.
std::uint32_t FiveBitChannels(std::uint32_t rgb) {
    return (rgb >> 19 & 0x1F) << 10 | (rgb >> 11 & 0x1F) << 5 | (rgb >> 3 & 0x1F);
}

}  // namespace

TextureCheck CompareTextureWithBitmap(const DecodedTexture& texture,
                                      std::span<const std::uint8_t> bitmapFile) {
    TextureCheck check;
    CDib dib;
    if (dib.Read(bitmapFile) == 0) {
        check.verdict = TextureVerdict::BitmapUnreadable;
        return check;
    }
    // Rows may be stored either way up; the height's sign says which.
    if (dib.Width() != texture.width ||
        std::abs(std::int64_t{dib.Height()}) != std::int64_t{texture.height}) {
        check.verdict = TextureVerdict::SizeDiffers;
        return check;
    }
    const auto pixels = RenderScaled(dib, texture.width, texture.height);
    if (!pixels) {
        check.verdict = TextureVerdict::BitmapUnreadable;
        return check;
    }
    const std::vector<std::uint8_t> indices = PixelIndices(texture);
    const auto width = static_cast<std::size_t>(texture.width);
    const auto height = static_cast<std::size_t>(texture.height);
    const bool lastUnstored = texture.depth == 4 && (width * height) % 2 == 1;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        if (lastUnstored && k + 1 == indices.size()) {
            break;
        }
        const std::size_t x = k % width;
        const std::size_t y = height - 1 - k / width;  // top-first row of the drawn picture
        const std::uint16_t colour =
            indices[k] < texture.palette.size() ? texture.palette[indices[k]] : 0;
        if (FiveBitChannels((*pixels)[y * width + x]) != FiveBitChannels(Rgba5551ToRgb(colour))) {
            check.verdict = TextureVerdict::PixelsDiffer;
            check.x = static_cast<int>(x);
            check.y = static_cast<int>(y);
            return check;
        }
    }
    return check;
}

VerifyReport VerifyCatalogue(std::span<const std::uint8_t> image,
                             const std::filesystem::path& programFolder) {
    VerifyReport report;
    std::vector<std::uint8_t> storage;
    const std::span<const std::uint8_t> nativeImage = NativeImage(image, storage);
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const FolderListing listing =
            ListMatching(ClassFolderPath(programFolder, sizeClass), BITMAP_PATTERN);
        for (const FolderMatch& match : listing.matches) {
            ++report.texturesChecked;
            VerifyFinding finding;
            finding.sizeClass = sizeClass;
            finding.offset = ParseHex(std::string_view(match.name).substr(0, 6));
            finding.bitmap = match.fullPath;
            const RecordDecodeOutcome decoded = DecodeTextureRecord(
                finding.offset < nativeImage.size() ? nativeImage.subspan(finding.offset)
                                                    : std::span<const std::uint8_t>());
            if (decoded.result != RecordDecodeResult::Ok) {
                finding.check.verdict = TextureVerdict::DoesNotDecode;
                finding.check.decode = decoded.result;
                finding.check.inflate = decoded.inflateResult;
            } else if (const auto file = ReadFileBytes(match.fullPath)) {
                finding.check = CompareTextureWithBitmap(decoded.texture, *file);
            } else {
                finding.check.verdict = TextureVerdict::BitmapUnreadable;
            }
            if (finding.check.verdict != TextureVerdict::Sound) {
                report.findings.push_back(std::move(finding));
            }
        }
    }
    return report;
}
