// Feeds arbitrary bytes to CDib::Read and, when they are accepted, exercises everything that
// reads the held blocks, so that any read past them shows up under the sanitizers.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "dib/CDib.h"
#include "dib/DibRender.h"

namespace {

// Aborts when an invariant of the held bitmap fails, so that the fuzzer records the input.
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDib dib;
    const std::uint32_t consumed = dib.Read(std::span<const std::uint8_t>(data, size));
    Require((consumed != 0) == dib.IsHeld());
    if (!dib.IsHeld()) {
        return 0;
    }
    Require(consumed == size);
    Require(dib.InfoBlock()->size() >= CDib::SPARE_INFO_BYTES);

    const std::uint16_t paletteSize = dib.PaletteSize();
    Require(dib.MakePalette());
    if (dib.Palette()) {
        Require(dib.Palette()->entries.size() <= (dib.InfoBlock()->size() - 40) / 4);
        Require(paletteSize == static_cast<std::uint16_t>(4 * dib.ColourCount()));
    }

    volatile std::uint64_t sink = 0;
    sink = sink + dib.HeaderSize() + static_cast<std::uint32_t>(dib.Width()) +
           static_cast<std::uint32_t>(dib.Height()) + dib.BitCount() + dib.Compression() +
           dib.SizeImage() + dib.ClrUsed() + dib.RowStride();
    for (std::uint32_t i = 0; i < 300; ++i) {
        if (const auto colour = dib.TableColour(i)) {
            sink = sink + colour->red + colour->green + colour->blue;
        }
    }

    // Whatever Save writes must read back as the same bitmap header and image.
    const std::vector<std::uint8_t> saved = dib.Save();
    if (!saved.empty()) {
        CDib again;
        Require(again.Read(saved) == saved.size());
        Require(again.HeaderSize() == dib.HeaderSize() && again.Width() == dib.Width() &&
                again.Height() == dib.Height() && again.BitCount() == dib.BitCount());
        Require(again.Save() == saved);
    }

    // Drawing reads the pixels, run-length streams and bit-field masks included, as the header
    // describes them.
    if (const auto picture = RenderScaled(dib, 7, 5)) {
        Require(picture->size() == 35);
    }
    return 0;
}
