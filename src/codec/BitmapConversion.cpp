#include "codec/BitmapConversion.h"

#include <algorithm>

#include "codec/ClassicBitmap.h"
#include "codec/PngPicture.h"
#include "io/AtomicFile.h"
#include "io/FileBytes.h"
#include "io/LittleEndian.h"

// Format notes (Windows bitmap, as the conversion reads it; all fields little-endian):
//   0   u16  signature "BM"              14  u32  info header size (40 for the classic header)
//   2   u32  file size (ignored)         18  i32  width (low 16 bits used)
//   6   u32  reserved (ignored)          22  i32  height (low 16 bits used, so the negative
//   10  u32  pixel data offset                    height of a top-down bitmap reads as large)
//            (low 16 bits used)          28  u16  bits per pixel: 4, 8 or 16 accepted
// The colour table follows the classic info header at offset 54: blue, green, red, reserved per
// entry. Pixel rows are stored bottom row first and padded to 4 bytes; the conversion takes the
// pixel data as one run of bytes, so row order and any padding pass into the texture unchanged.
// 16-bit pixels are X1R5G5B5 and are read from offset 54 whatever the pixel data offset says.
// Compression, image size and colours-used fields are ignored.

namespace {

constexpr std::uint16_t BITMAP_SIGNATURE = 0x4D42;  // "BM" read little-endian
constexpr std::size_t HEADER_BYTES_READ = 48;
constexpr std::size_t MIN_BITMAP_BYTES = 54;
constexpr std::size_t COLOUR_ENTRY_BYTES = 4;
// Pixel data offsets of full 16 and 256-entry colour tables, where the trim rule applies, and
// the first of the two entries it examines.
constexpr std::uint16_t FULL_4BIT_TABLE_OFFSET = 118;
constexpr int FIRST_EXAMINED_4BIT_ENTRY = 14;
constexpr std::uint16_t FULL_8BIT_TABLE_OFFSET = 1078;
constexpr int FIRST_EXAMINED_8BIT_ENTRY = 152;

using IndexStream = std::array<std::uint8_t, INDEX_BUFFER_BYTES>;

bool FourBitDepth(int depthMode) {
    return (depthMode & 0xF) == DEPTH_MODE_4BIT;
}

// Copies up to `count` bytes from `offset` of the file to the start of `stream`; a file that
// ends earlier gives fewer bytes.
void ReadRun(std::span<const std::uint8_t> file, std::size_t offset, std::size_t count,
             IndexStream& stream) {
    if (offset >= file.size()) {
        return;
    }
    const std::size_t available = std::min({count, file.size() - offset, stream.size()});
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), available, stream.begin());
}

void StreamToWords(const IndexStream& stream, TextureData& out) {
    for (std::size_t word = 0; word < out.indexWords.size(); ++word) {
        const std::size_t b = 4 * word;
        out.indexWords[word] = static_cast<std::uint32_t>(stream[b]) << 24 |
                               static_cast<std::uint32_t>(stream[b + 1]) << 16 |
                               static_cast<std::uint32_t>(stream[b + 2]) << 8 | stream[b + 3];
    }
}

// Colour-table entry `entry` of the file: blue, green, red, reserved.
std::array<std::uint8_t, COLOUR_ENTRY_BYTES> ColourEntry(std::span<const std::uint8_t> file,
                                                         int entry) {
    const std::size_t at = BITMAP_COLOUR_TABLE_OFFSET + COLOUR_ENTRY_BYTES * entry;
    return {ByteOrZero(file, at), ByteOrZero(file, at + 1), ByteOrZero(file, at + 2),
            ByteOrZero(file, at + 3)};
}

bool EntryIsZero(std::span<const std::uint8_t> file, int entry) {
    const auto bytes = ColourEntry(file, entry);
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// Palette count of a full colour table whose entries `firstExamined` and the one after are both
// zero: one zero entry kept after the last non-zero entry below `firstExamined`.
int TrimmedCount(std::span<const std::uint8_t> file, int firstExamined, int entries) {
    if (!EntryIsZero(file, firstExamined) || !EntryIsZero(file, firstExamined + 1)) {
        return entries;
    }
    for (int entry = firstExamined - 1; entry >= 0; --entry) {
        if (!EntryIsZero(file, entry)) {
            return entry + 2;
        }
    }
    return 1;
}

std::uint16_t ToRgba5551(const std::array<std::uint8_t, COLOUR_ENTRY_BYTES>& entry) {
    const int blue = entry[0] / 8;
    const int green = entry[1] / 8;
    const int red = entry[2] / 8;
    return static_cast<std::uint16_t>(red * 2048 + green * 64 + blue * 2);
}

// Whole words of 4-bit output that cover `packedBytes` bytes.
std::size_t WholeWordBytes(std::size_t packedBytes) {
    return (packedBytes + 3) / 4 * 4;
}

ConvertResult ConvertIndexed(std::span<const std::uint8_t> file, const BitmapHeader& header,
                             int entries, bool fourBitDepth, TextureData& out) {
    const std::size_t pixels = std::size_t{header.width} * header.height;
    TextureData result;

    int count = entries;
    if (header.bitCount == 4 && header.pixelDataOffset == FULL_4BIT_TABLE_OFFSET) {
        count = TrimmedCount(file, FIRST_EXAMINED_4BIT_ENTRY, entries);
    } else if (header.bitCount == 8 && header.pixelDataOffset == FULL_8BIT_TABLE_OFFSET) {
        count = TrimmedCount(file, FIRST_EXAMINED_8BIT_ENTRY, entries);
    }
    for (int entry = 0; entry < count; ++entry) {
        result.palette[static_cast<std::size_t>(entry)] = ToRgba5551(ColourEntry(file, entry));
    }
    result.count = count;

    IndexStream stream{};
    ReadRun(file, header.pixelDataOffset, pixels / 4 * 4, stream);
    const std::size_t outputBytes = WholeWordBytes(pixels / 2);
    if (header.bitCount == 8 && fourBitDepth) {
        // In place: output byte k is written only after pixel bytes 2k and 2k + 1 were read.
        for (std::size_t k = 0; k < outputBytes; ++k) {
            stream[k] =
                static_cast<std::uint8_t>((stream[2 * k] & 0x0F) << 4 | (stream[2 * k + 1] & 0x0F));
        }
    } else if (header.bitCount == 4 && !fourBitDepth) {
        const IndexStream staging = stream;
        for (std::size_t k = 0; k < outputBytes; ++k) {
            stream[2 * k] = static_cast<std::uint8_t>(staging[k] >> 4);
            stream[2 * k + 1] = static_cast<std::uint8_t>(staging[k] & 0x0F);
        }
    }
    StreamToWords(stream, result);
    result.depthMode = fourBitDepth ? DEPTH_MODE_4BIT : DEPTH_MODE_8BIT;
    out = result;
    return ConvertResult::Ok;
}

ConvertResult Convert16Bit(std::span<const std::uint8_t> file, const BitmapHeader& header,
                           TextureData& out) {
    const std::size_t pixels = std::size_t{header.width} * header.height;
    std::array<std::uint16_t, PALETTE_CAPACITY> found{};
    std::size_t count = 0;
    std::array<std::uint8_t, MAX_16BIT_BITMAP_PIXELS> indices{};
    for (std::size_t pixel = 0; pixel < pixels; ++pixel) {
        const std::uint16_t value = LoadU16OrZero(file, BITMAP_COLOUR_TABLE_OFFSET + 2 * pixel);
        const auto known = std::find(found.begin(), found.begin() + count, value);
        std::size_t index = static_cast<std::size_t>(known - found.begin());
        if (index == count) {
            if (count == PALETTE_CAPACITY) {
                return ConvertResult::TooManyColors;
            }
            found[count++] = value;
        }
        indices[pixel] = static_cast<std::uint8_t>(index);
    }

    TextureData result;
    for (std::size_t entry = 0; entry < count; ++entry) {
        result.palette[entry] = static_cast<std::uint16_t>(found[entry] << 1);
    }
    result.count = static_cast<int>(count);

    IndexStream stream{};
    if (count < 16) {
        for (std::size_t k = 0; k < pixels / 2; ++k) {
            stream[k] = static_cast<std::uint8_t>(indices[2 * k] << 4 | indices[2 * k + 1]);
        }
        result.depthMode = DEPTH_MODE_4BIT;
    } else {
        std::copy_n(indices.begin(), pixels, stream.begin());
        result.depthMode = DEPTH_MODE_8BIT;
    }
    StreamToWords(stream, result);
    out = result;
    return ConvertResult::Ok;
}

}  // namespace

BitmapHeader ReadBitmapHeader(std::span<const std::uint8_t> file) {
    const auto header = file.first(std::min(file.size(), HEADER_BYTES_READ));
    BitmapHeader fields;
    fields.signature = LoadU16OrZero(header, 0);
    fields.pixelDataOffset = LoadU16OrZero(header, 10);
    fields.infoHeaderSize = LoadU32OrZero(header, 14);
    fields.width = LoadU16OrZero(header, 18);
    fields.height = LoadU16OrZero(header, 22);
    fields.bitCount = LoadU16OrZero(header, 28);
    fields.fileSize = file.size();
    return fields;
}

int ColourTableEntries(const BitmapHeader& header) {
    return (static_cast<int>(header.pixelDataOffset) -
            static_cast<int>(BITMAP_COLOUR_TABLE_OFFSET)) /
           4;
}

std::optional<std::vector<std::uint8_t>> ReadBitmapFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path, BITMAP_BYTES_EXAMINED);
    // libpng reads a PNG to its end, past the bytes a bitmap may need.
    if (bytes && bytes->size() == BITMAP_BYTES_EXAMINED && IsPng(*bytes)) {
        return ReadFileBytes(path, MAX_PNG_FILE_BYTES);
    }
    return bytes;
}

namespace {

std::size_t StoredRowBytes(const BitmapHeader& header) {
    return (std::size_t{header.width} * header.bitCount + 31) / 32 * 4 * header.height;
}

ConvertResult ConvertClassic(std::span<const std::uint8_t> file, int depthMode, TextureData& out) {
    const BitmapHeader header = ReadBitmapHeader(file);
    if (header.signature != BITMAP_SIGNATURE) {
        return ConvertResult::NotBitmap;
    }
    if (header.bitCount != 4 && header.bitCount != 8 && header.bitCount != 16) {
        return ConvertResult::NotBitmap;
    }
    if (file.size() < MIN_BITMAP_BYTES) {
        return ConvertResult::TooShort;
    }
    const std::size_t pixels = std::size_t{header.width} * header.height;
    if (header.bitCount == 16) {
        if (pixels > MAX_16BIT_BITMAP_PIXELS) {
            return ConvertResult::TooLarge;
        }
        if (pixels < 2) {
            return ConvertResult::NoPixels;
        }
        if (file.size() < BITMAP_COLOUR_TABLE_OFFSET + 2 * pixels) {
            return ConvertResult::CutShort;
        }
        return Convert16Bit(file, header, out);
    }

    // A larger info header moves the colour table; reading it at offset 54 would give wrong
    // colours without any sign of failure.
    if (header.infoHeaderSize != CLASSIC_INFO_HEADER_SIZE) {
        return ConvertResult::UnsupportedInfoHeader;
    }
    const int entries = ColourTableEntries(header);
    if (entries < 1 || entries > static_cast<int>(PALETTE_CAPACITY)) {
        return ConvertResult::BadPaletteCount;
    }
    // width x height bytes are read whatever the depth, so this bounds both depths.
    if (pixels > MAX_INDEXED_BITMAP_PIXELS) {
        return ConvertResult::TooLarge;
    }
    const bool fourBitDepth = FourBitDepth(depthMode);
    if (pixels == 0 || (fourBitDepth && pixels < 2)) {
        return ConvertResult::NoPixels;
    }
    // A 4-bit file's rows are shorter than the bytes read; past them zeros are read, as ever.
    if (file.size() < header.pixelDataOffset + std::min(pixels / 4 * 4, StoredRowBytes(header))) {
        return ConvertResult::CutShort;
    }
    return ConvertIndexed(file, header, entries, fourBitDepth, out);
}

}  // namespace

ConvertResult ConvertBitmapToTexture(std::span<const std::uint8_t> file, int depthMode,
                                     TextureData& out) {
    const ClassicBitmap classic = ToClassicBitmap(file);
    if (classic.result != ConvertResult::Ok) {
        return classic.result;
    }
    if (classic.bytes.empty()) {
        return ConvertClassic(file, depthMode, out);
    }
    const ConvertResult result = ConvertClassic(classic.bytes, depthMode, out);
    return classic.reduced && result == ConvertResult::TooManyColors
               ? ConvertResult::TooManyReducedColors
               : result;
}

ConvertResult ConvertBitmapToTexture(const std::filesystem::path& path, int depthMode,
                                     TextureData& out) {
    const auto bytes = ReadBitmapFile(path);
    if (!bytes) {
        return ConvertResult::CannotOpen;
    }
    return ConvertBitmapToTexture(std::span<const std::uint8_t>(*bytes), depthMode, out);
}

std::vector<std::uint8_t> WriteTextureBitmap(std::int32_t width, std::int32_t height,
                                             std::uint16_t bitCount,
                                             std::span<const std::uint32_t> indexWords,
                                             std::span<const std::uint16_t> palette,
                                             int depthMode) {
    if (width < 0 || height < 0) {
        return {};
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    if (pixels > INDEX_BUFFER_BYTES) {
        return {};
    }
    const bool fourBit = FourBitDepth(depthMode);
    const std::uint64_t streamBytes = fourBit ? (pixels + 1) / 2 : pixels;
    const std::size_t paletteNeeded = fourBit ? 16 : PALETTE_CAPACITY;
    if (streamBytes > 4 * std::uint64_t{indexWords.size()} || palette.size() < paletteNeeded) {
        return {};
    }

    const auto imageSize = static_cast<std::uint32_t>(2 * pixels);
    std::vector<std::uint8_t> out;
    out.reserve(MIN_BITMAP_BYTES + imageSize);
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    put(BITMAP_SIGNATURE, 2);
    put(imageSize + static_cast<std::uint32_t>(MIN_BITMAP_BYTES), 4);  // file size
    put(0, 2);                                                         // reserved
    put(0, 2);                                                         // reserved
    put(static_cast<std::uint32_t>(MIN_BITMAP_BYTES), 4);              // pixel data offset
    put(CLASSIC_INFO_HEADER_SIZE, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);  // planes
    put(bitCount, 2);
    put(0, 4);  // no compression
    put(imageSize, 4);
    put(2834, 4);  // horizontal pixels per metre
    put(2834, 4);  // vertical pixels per metre
    put(0, 4);     // colours used
    put(0, 4);     // colours important

    auto streamByte = [&indexWords](std::uint64_t at) {
        return static_cast<std::uint8_t>(indexWords[at / 4] >> (24 - 8 * (at % 4)));
    };
    for (std::uint64_t pixel = 0; pixel < pixels; ++pixel) {
        std::size_t index = 0;
        if (fourBit) {
            const std::uint8_t pair = streamByte(pixel / 2);
            index = pixel % 2 == 0 ? pair >> 4 : pair & 0x0F;
        } else {
            index = streamByte(pixel);
        }
        put(static_cast<std::uint32_t>(palette[index] >> 1), 2);
    }
    return out;
}

bool WriteTextureBitmapFile(const std::filesystem::path& path, std::int32_t width,
                            std::int32_t height, std::uint16_t bitCount,
                            std::span<const std::uint32_t> indexWords,
                            std::span<const std::uint16_t> palette, int depthMode) {
    const auto bytes = WriteTextureBitmap(width, height, bitCount, indexWords, palette, depthMode);
    if (bytes.empty()) {
        return false;
    }
    return WriteFileAtomically(path, bytes).ok;
}
