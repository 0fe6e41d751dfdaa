#include "codec/UserImage.h"

#include "codec/ClassicBitmap.h"
#include "codec/TextureCompressor.h"
#include "io/LittleEndian.h"

#include <set>

UserImage PrepareUserImage(std::span<const std::uint8_t> file, std::string_view formatLetter) {
    UserImage image;
    // Every accepted kind of file is read as the classic bitmap of the same picture.
    const ClassicBitmap classic = ToClassicBitmap(file);
    image.translucent = classic.translucent;
    image.reason = classic.reason;
    if (classic.result != ConvertResult::Ok) {
        image.result = classic.result;
        return image;
    }
    const BitmapHeader header =
        ReadBitmapHeader(classic.bytes.empty() ? file : std::span(classic.bytes));
    image.width = header.width;
    image.height = header.height;
    image.entries = ColourTableEntries(header);
    image.depthMode = image.entries < 16 ? DEPTH_MODE_4BIT : DEPTH_MODE_8BIT;

    image.result = ConvertBitmapToTexture(file, image.depthMode, image.texture);
    if (image.result == ConvertResult::TooManyReducedColors) {
        // The rewritten file's X1R5G5B5 pixels, as the conversion reads them.
        std::set<std::uint16_t> colours;
        for (std::size_t pixel = 0; pixel < std::size_t{image.width} * image.height; ++pixel) {
            colours.insert(LoadU16OrZero(classic.bytes, BITMAP_COLOUR_TABLE_OFFSET + 2 * pixel));
        }
        image.colours = static_cast<int>(colours.size());
    }
    if (image.result != ConvertResult::Ok) {
        return image;
    }
    if (header.bitCount == 16) {
        image.entries = image.texture.count;
        image.depthMode = image.texture.depthMode;
    }
    image.record = CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, image.width,
                                   image.height, image.texture.indexWords, image.texture.palette,
                                   image.entries, formatLetter);
    return image;
}

UserImage PrepareUserImage(const std::filesystem::path& path, std::string_view formatLetter) {
    const auto bytes = ReadBitmapFile(path);
    if (!bytes) {
        UserImage image;
        image.result = ConvertResult::CannotOpen;
        return image;
    }
    return PrepareUserImage(std::span<const std::uint8_t>(*bytes), formatLetter);
}

std::vector<std::uint8_t> MakePreviewBitmap(const UserImage& image) {
    if (image.result != ConvertResult::Ok) {
        return {};
    }
    return WriteTextureBitmap(PREVIEW_SIDE, PREVIEW_SIDE, PREVIEW_BIT_COUNT,
                              image.texture.indexWords, image.texture.palette, image.depthMode);
}
