// Scans arbitrary bytes as a ROM image (either byte order) for texture records and decodes a
// record at offset 0. Every record found must decode where it was found, within the image, in
// increasing offset order; for small native images the scan must find exactly the offsets where
// a record decodes, tried one by one. A decoded record must decode the same from its own bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "codec/TextureRecordScan.h"
#include "io/ByteOrder.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

constexpr std::size_t ONE_BY_ONE_LIMIT = 4096;  // bytes of image tried at every offset

void CheckRecord(std::span<const std::uint8_t> bytes, const DecodedTexture& t) {
    Require(t.recordSize <= bytes.size() && t.width > 0 && t.height > 0);
    const std::size_t pixels = static_cast<std::size_t>(t.width) * t.height;
    Require(t.data.size() == (t.depth == 4 ? pixels / 2 : pixels));
    Require(t.depth == 4 ? t.palette.size() < 16 : t.palette.size() >= 16);
    Require(PixelIndices(t).size() == pixels);
    const RecordDecodeOutcome own = DecodeTextureRecord(bytes.first(t.recordSize));
    Require(own.result == RecordDecodeResult::Ok && own.texture.data == t.data &&
            own.texture.palette == t.palette && own.texture.recordSize == t.recordSize &&
            own.texture.hasTail == t.hasTail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const RecordDecodeOutcome first = DecodeTextureRecord(input);
    if (first.result == RecordDecodeResult::Ok) {
        CheckRecord(input, first.texture);
    }

    std::vector<std::uint8_t> native(input.begin(), input.end());
    if (ReadMarker(input) == RomMarker::Swapped) {
        SwapBytePairs(native);
    }
    const std::vector<FoundRecord> found = ScanTextureRecordsAnyOrder(input);
    for (std::size_t i = 0; i < found.size(); ++i) {
        Require(i == 0 || found[i - 1].offset < found[i].offset);
        Require(found[i].offset < native.size());
        CheckRecord(std::span(native).subspan(found[i].offset), found[i].texture);
    }
    if (native.size() <= ONE_BY_ONE_LIMIT) {
        std::size_t next = 0;
        for (std::size_t offset = 0; offset < native.size(); ++offset) {
            if (DecodeTextureRecord(std::span(native).subspan(offset)).result ==
                RecordDecodeResult::Ok) {
                Require(next < found.size() && found[next++].offset == offset);
            }
        }
        Require(next == found.size());
    }
    return 0;
}
