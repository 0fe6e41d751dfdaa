#include "dib/CDib.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

#include "io/FileBytes.h"
#include "io/LittleEndian.h"

namespace {

// Positions of the file-header and info-header fields used here.
constexpr std::size_t BF_OFF_BITS = 10;
constexpr std::size_t BI_SIZE = 0;
constexpr std::size_t BI_WIDTH = 4;
constexpr std::size_t BI_HEIGHT = 8;
constexpr std::size_t BI_BIT_COUNT = 14;
constexpr std::size_t BI_COMPRESSION = 16;
constexpr std::size_t BI_SIZE_IMAGE = 20;
constexpr std::size_t BI_CLR_USED = 32;

// Run-length encoded pixel formats, whose image size only the header knows.
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;

constexpr std::uint64_t MAX_U32 = std::numeric_limits<std::uint32_t>::max();

// A header field of the info block, or 0 when there is no block or it does not reach the field.
std::uint32_t InfoU32(const std::optional<std::vector<std::uint8_t>>& block, std::size_t offset) {
    return block && offset + 4 <= block->size() ? LoadU32(*block, offset) : 0;
}
std::uint16_t InfoU16(const std::optional<std::vector<std::uint8_t>>& block, std::size_t offset) {
    return block && offset + 2 <= block->size() ? LoadU16(*block, offset) : 0;
}

}  // namespace

std::uint32_t CDib::Read(std::span<const std::uint8_t> file) {
    Free();
    // The result is the length as a u32, so a longer file cannot be reported and is refused.
    if (file.size() < FILE_HEADER_SIZE || file.size() > MAX_U32) {
        return 0;
    }
    if (file[0] != 'B' || file[1] != 'M') {
        return 0;
    }
    const std::uint32_t offBits = LoadU32(file, BF_OFF_BITS);
    if (offBits < FILE_HEADER_SIZE || offBits > file.size()) {
        return 0;
    }
    // offBits <= file.size(), so the info block is at most the file plus the spare bytes; on a
    // platform whose size_t could wrap that sum, refuse rather than allocate a short block.
    const std::uint64_t infoSize =
        std::uint64_t{offBits} - FILE_HEADER_SIZE + std::uint64_t{SPARE_INFO_BYTES};
    if (infoSize > std::numeric_limits<std::size_t>::max()) {
        return 0;
    }
    try {
        std::vector<std::uint8_t> info(static_cast<std::size_t>(infoSize), 0);
        std::copy(file.begin() + FILE_HEADER_SIZE, file.begin() + offBits, info.begin());
        std::vector<std::uint8_t> pixels(file.begin() + offBits, file.end());
        m_infoBlock = std::move(info);
        m_pixelBlock = std::move(pixels);
    } catch (const std::bad_alloc&) {
        Free();
        return 0;
    }
    // A bitmap without a usable palette is still held; drawing then goes without one.
    MakePalette();
    return static_cast<std::uint32_t>(file.size());
}

std::uint32_t CDib::ReadFile(const std::filesystem::path& path) {
    Free();
    // One byte more than Read accepts is enough to tell that the file is too long.
    const auto bytes = ReadFileBytes(path, static_cast<std::size_t>(MAX_U32) + 1);
    return bytes ? Read(*bytes) : 0;
}

std::vector<std::uint8_t> CDib::Save() const {
    if (!IsHeld()) {
        return {};
    }
    const std::vector<std::uint8_t>& info = *m_infoBlock;
    const std::vector<std::uint8_t>& pixels = *m_pixelBlock;

    // The header is written as biSize bytes so that bfOffBits matches what follows it; a header
    // shorter than the 40 bytes whose fields are used here is not a bitmap this class can write.
    const std::uint64_t headerSize = HeaderSize();
    if (headerSize < INFO_HEADER_SIZE || Width() < 0) {
        return {};
    }
    // Equal to PaletteSize() except where that truncates to 16 bits; the real byte count keeps
    // bfOffBits in agreement with the bytes written.
    const std::uint64_t tableBytes = 4 * std::uint64_t{ColourCount() & 0xFFFF};

    const std::uint32_t compression = Compression();
    const bool runLength = compression == BI_RLE8 || compression == BI_RLE4;
    std::uint64_t imageBytes = SizeImage();
    if (!runLength) {
        const std::uint64_t stride = RowStride();
        // Checked before multiplying: stride < 2^32 and rows <= 2^31 keep the product in 64 bits.
        if (stride > MAX_U32) {
            return {};
        }
        const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(std::int64_t{Height()}));
        imageBytes = stride * rows;
    }

    const std::uint64_t offBits = FILE_HEADER_SIZE + headerSize + tableBytes;
    const std::uint64_t fileSize = offBits + imageBytes;
    if (headerSize + tableBytes > info.size() || imageBytes > pixels.size() || fileSize > MAX_U32) {
        return {};
    }

    std::vector<std::uint8_t> out(static_cast<std::size_t>(fileSize), 0);
    out[0] = 'B';
    out[1] = 'M';
    StoreU32(out, 2, static_cast<std::uint32_t>(fileSize));
    StoreU32(out, BF_OFF_BITS, static_cast<std::uint32_t>(offBits));
    std::copy_n(info.begin(), headerSize + tableBytes, out.begin() + FILE_HEADER_SIZE);
    // The computed size goes into the output copy only, which keeps Save const.
    if (!runLength) {
        StoreU32(out, FILE_HEADER_SIZE + BI_SIZE_IMAGE, static_cast<std::uint32_t>(imageBytes));
    }
    std::copy_n(pixels.begin(), imageBytes, out.begin() + static_cast<std::ptrdiff_t>(offBits));
    return out;
}

void CDib::Free() {
    m_pixelBlock.reset();
    m_infoBlock.reset();
    m_palette.reset();
}

std::uint16_t CDib::PaletteSize() const {
    return m_infoBlock ? static_cast<std::uint16_t>(4 * ColourCount()) : 0;
}

bool CDib::MakePalette() {
    if (!m_infoBlock) {
        return false;
    }
    const std::vector<std::uint8_t>& info = *m_infoBlock;
    // A colour count of 0 (no table for this bit count) or with low 16 bits 0 gives no palette.
    const std::size_t claimed = ColourCount() & 0xFFFF;
    const std::size_t available =
        info.size() > INFO_HEADER_SIZE ? (info.size() - INFO_HEADER_SIZE) / 4 : 0;
    const std::size_t count = std::min(claimed, available);
    if (count == 0) {
        m_palette.reset();
        return true;
    }
    // Built aside so that an allocation failure leaves the previous palette in place.
    LogicalPalette palette;
    try {
        palette.entries.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = INFO_HEADER_SIZE + 4 * i;
        palette.entries[i] = PaletteEntry{info[at + 2], info[at + 1], info[at], 0};
    }
    m_palette = std::move(palette);
    return true;
}

std::uint32_t CDib::HeaderSize() const {
    return InfoU32(m_infoBlock, BI_SIZE);
}

std::int32_t CDib::Width() const {
    return static_cast<std::int32_t>(InfoU32(m_infoBlock, BI_WIDTH));
}

std::int32_t CDib::Height() const {
    return static_cast<std::int32_t>(InfoU32(m_infoBlock, BI_HEIGHT));
}

std::uint16_t CDib::BitCount() const {
    return InfoU16(m_infoBlock, BI_BIT_COUNT);
}

std::uint32_t CDib::Compression() const {
    return InfoU32(m_infoBlock, BI_COMPRESSION);
}

std::uint32_t CDib::SizeImage() const {
    return InfoU32(m_infoBlock, BI_SIZE_IMAGE);
}

std::uint32_t CDib::ClrUsed() const {
    return InfoU32(m_infoBlock, BI_CLR_USED);
}

std::uint32_t CDib::ColourCount() const {
    if (const std::uint32_t used = ClrUsed(); used != 0) {
        return used;
    }
    switch (BitCount()) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

std::uint64_t CDib::RowStride() const {
    const std::int32_t width = Width();
    if (!m_infoBlock || width < 0) {
        return 0;
    }
    // At most 65535 × (2^31 − 1) bits: no wrap in 64 bits.
    const std::uint64_t bits = std::uint64_t{BitCount()} * static_cast<std::uint64_t>(width);
    return (bits + 31) / 32 * 4;
}

std::optional<PaletteEntry> CDib::TableColour(std::uint32_t index) const {
    if (!m_infoBlock || index >= ColourCount()) {
        return std::nullopt;
    }
    const std::uint64_t at = std::uint64_t{HeaderSize()} + 4 * std::uint64_t{index};
    if (at + 4 > m_infoBlock->size()) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t>& info = *m_infoBlock;
    const auto i = static_cast<std::size_t>(at);
    return PaletteEntry{info[i + 2], info[i + 1], info[i], 0};
}
