// Feeds arbitrary bytes through the user-image pipeline (conversion, compression, preview) with
// both format letters, bitmaps of every kind and PNG alike (seeds in corpus/convert/), and checks
// what the results promise, so that any read or write outside the buffers shows up under the
// sanitizers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "codec/BitmapConversion.h"
#include "codec/ClassicBitmap.h"
#include "codec/UserImage.h"

namespace {

// Aborts when a promise fails, so that the fuzzer records the input.
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckImage(const UserImage& image, std::string_view formatLetter) {
    const std::vector<std::uint8_t> preview = MakePreviewBitmap(image);
    if (image.result != ConvertResult::Ok) {
        Require(image.record.empty());
        Require(preview.empty());
        return;
    }
    Require(preview.size() == 54 + 2 * PREVIEW_SIDE * PREVIEW_SIDE);
    Require(image.entries >= 1 && image.entries <= 256);
    Require((image.depthMode == DEPTH_MODE_4BIT) == (image.entries < 16));
    Require(image.texture.count >= 1 && image.texture.count <= image.entries);

    // The record's header says what the image is.
    const std::vector<std::uint8_t>& record = image.record;
    const std::size_t c = static_cast<std::size_t>(image.entries);
    Require(record.size() > 6 + 2 * c);
    const bool g = formatLetter == "G";
    const std::uint8_t code = image.entries < 16 ? (g ? 0x0C : 0x0A) : (g ? 0x0B : 0x09);
    Require(record[0] == code);
    Require(record[1] == c - 1);
    for (std::size_t i = 0; i < c; ++i) {
        const std::uint16_t entry = image.texture.palette[i];
        Require(record[2 + 2 * i] == entry >> 8 && record[3 + 2 * i] == (entry & 0xFF));
    }
    Require(record[2 + 2 * c] == (image.width & 0xFF));
    Require(record[3 + 2 * c] == (image.height & 0xFF));
    Require(record[4 + 2 * c] == 0x11 && record[5 + 2 * c] == 0x72);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const UserImage n = PrepareUserImage(file, "N");
    CheckImage(n, "N");
    const UserImage g = PrepareUserImage(file, "G");
    CheckImage(g, "G");
    Require(n.result == g.result);
    if (n.result == ConvertResult::Ok) {
        Require(n.record.size() == g.record.size());
        Require(std::equal(n.record.begin() + 1, n.record.end(), g.record.begin() + 1));
    }

    // A rewritten file is a classic one, which converts exactly as the original does.
    const ClassicBitmap classic = ToClassicBitmap(file);
    Require(classic.reason.empty() || classic.result == ConvertResult::BadPng);
    if (classic.result == ConvertResult::Ok && !classic.bytes.empty()) {
        const ClassicBitmap again = ToClassicBitmap(classic.bytes);
        Require(again.result == ConvertResult::Ok && again.bytes.empty());
        const UserImage direct = PrepareUserImage(classic.bytes, "N");
        Require(direct.record == n.record || n.result == ConvertResult::TooManyReducedColors);
    }

    // The other depth too, and a depth mode with high bits set.
    for (const int depthMode : {DEPTH_MODE_4BIT, DEPTH_MODE_8BIT, 0x7F}) {
        TextureData texture;
        if (ConvertBitmapToTexture(file, depthMode, texture) == ConvertResult::Ok) {
            Require(texture.count >= 1 && texture.count <= 256);
            Require(texture.depthMode == DEPTH_MODE_4BIT || texture.depthMode == DEPTH_MODE_8BIT);
            const auto written = WriteTextureBitmap(64, 64, 16, texture.indexWords, texture.palette,
                                                    texture.depthMode);
            Require(written.size() == 54 + 2 * 64 * 64);
        }
    }
    return 0;
}
