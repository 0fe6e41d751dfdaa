#pragma once

#include <cstdint>
#include <vector>

#include "io/ByteOrder.h"
#include "io/RomImage.h"

// The native-order image the IPS and BPS fuzz targets apply their input to, built once. The seed
// generator makes its patches against the same image, so that BPS seeds pass the source check.
inline const std::vector<std::uint8_t>& PatchFuzzSource() {
    static const std::vector<std::uint8_t> image = [] {
        std::vector<std::uint8_t> native(ROM_IMAGE_SIZE);
        for (std::uint32_t p = 0; p < ROM_IMAGE_SIZE; ++p) {
            native[p] = static_cast<std::uint8_t>((p * 2654435761u) >> 11);
        }
        const char marker[] = "MOON";
        for (std::uint32_t i = 0; i < 4; ++i) {
            native[MARKER_OFFSET + i] = static_cast<std::uint8_t>(marker[i]);
        }
        return native;
    }();
    return image;
}
