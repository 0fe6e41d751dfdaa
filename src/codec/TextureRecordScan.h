#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "codec/TextureRecordDecode.h"

// Finding every texture record in a ROM image.

struct FoundRecord {
    std::uint32_t offset = 0;  // native offset of the record's first byte
    DecodedTexture texture;
};

// Every record that decodes fully, in increasing offset order, in a native-order image: found
// from each 0x11 0x72 pair by working back to every header that could end there. Records may
// overlap when the bytes allow it; each is reported.
std::vector<FoundRecord> ScanTextureRecords(std::span<const std::uint8_t> nativeImage);

// The same for an image in either byte order: a swapped image (marker "OMNO") is scanned as its
// native form; any other image is scanned as it is.
std::vector<FoundRecord> ScanTextureRecordsAnyOrder(std::span<const std::uint8_t> image);
