#include "codec/PngPicture.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "io/LittleEndian.h"

// Format notes (PNG, as libpng hands it over): an 8-byte signature, then chunks (length, type,
// data, CRC), IHDR first: width and height (big-endian 32-bit), bit depth, colour type (0 grey,
// 2 RGB, 3 indexed, 4 grey+alpha, 6 RGBA) and interlace method. Indexed pictures keep PLTE's
// colours in order (and may give alphas in tRNS); rows run top to bottom. libpng checks every
// CRC and inflates IDAT; its transformations give one byte an index, or RGBA bytes.

namespace {

constexpr std::size_t MAX_PIXELS = MAX_INDEXED_BITMAP_PIXELS;

// Everything the libpng callbacks and the decoding share; on the heap and plain, so that a
// longjmp out of libpng skips no destructor and finds every value in memory.
struct Decoding {
    std::span<const std::uint8_t> file;
    std::size_t at = 0;
    std::jmp_buf jump{};
    char message[160] = {};
    ConvertResult refusal = ConvertResult::BadPng;
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0;
    bool indexed = false;
    int paletteSize = 0;
    std::array<png_color, 256> palette{};
    std::array<std::uint8_t, 256> alpha{};  // of palette entries, 255 where tRNS gives none
    std::array<std::uint8_t, 4 * MAX_PIXELS> pixels{};  // one byte an index, or RGBA
    std::array<png_bytep, MAX_PIXELS> rows{};
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto& d = *static_cast<Decoding*>(png_get_io_ptr(png));
    if (count > d.file.size() - d.at) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, d.file.data() + d.at, count);
    d.at += count;
}

[[noreturn]] void Fail(png_structp png, png_const_charp message) {
    auto& d = *static_cast<Decoding*>(png_get_error_ptr(png));
    std::snprintf(d.message, sizeof d.message, "%s", message);
    std::longjmp(d.jump, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Fills `d` from the file; false with d.refusal (and d.message) set when it cannot.
bool Decode(png_structp png, png_infop info, Decoding& d) {
    if (setjmp(d.jump)) {
        return false;
    }
    png_set_read_fn(png, &d, ReadBytes);
    png_read_info(png, info);
    int colourType = 0;
    png_get_IHDR(png, info, &d.width, &d.height, &d.bitDepth, &colourType, nullptr, nullptr,
                 nullptr);
    d.indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    const std::size_t limit = d.indexed ? MAX_INDEXED_BITMAP_PIXELS : MAX_16BIT_BITMAP_PIXELS;
    if (std::size_t{d.width} * d.height > limit) {
        d.refusal = ConvertResult::TooLarge;
        return false;
    }
    if (d.indexed) {
        png_colorp palette = nullptr;
        png_get_PLTE(png, info, &palette, &d.paletteSize);
        std::copy_n(palette, d.paletteSize, d.palette.begin());
        d.alpha.fill(255);
        png_bytep alphas = nullptr;
        int alphaCount = 0;
        if (png_get_tRNS(png, info, &alphas, &alphaCount, nullptr) != 0 && alphas != nullptr) {
            std::copy_n(alphas, std::min(alphaCount, 256), d.alpha.begin());
        }
        png_set_packing(png);
    } else {
        png_set_strip_16(png);
        png_set_expand(png);
        png_set_gray_to_rgb(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    for (png_uint_32 y = 0; y < d.height; ++y) {
        d.rows[y] = d.pixels.data() + y * rowBytes;
    }
    png_read_image(png, d.rows.data());
    png_read_end(png, nullptr);
    return true;
}

std::size_t RowBytes(std::size_t width, std::size_t bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

std::vector<std::uint8_t> Headers(const Decoding& d, std::uint16_t bitCount, int entries) {
    std::vector<std::uint8_t> out(54, 0);
    const auto offset = static_cast<std::uint32_t>(54 + 4 * entries);
    StoreU16(out, 0, 0x4D42);
    StoreU32(out, 2, static_cast<std::uint32_t>(offset + RowBytes(d.width, bitCount) * d.height));
    StoreU32(out, 10, offset);
    StoreU32(out, 14, CLASSIC_INFO_HEADER_SIZE);
    StoreU32(out, 18, d.width);
    StoreU32(out, 22, d.height);
    StoreU16(out, 26, 1);
    StoreU16(out, 28, bitCount);
    return out;
}

ClassicBitmap Indexed(const Decoding& d) {
    const std::uint16_t bitCount = d.bitDepth <= 4 ? 4 : 8;
    ClassicBitmap out{ConvertResult::Ok, Headers(d, bitCount, d.paletteSize)};
    for (int entry = 0; entry < d.paletteSize; ++entry) {
        const png_color& c = d.palette[static_cast<std::size_t>(entry)];
        out.bytes.insert(out.bytes.end(), {c.blue, c.green, c.red, 0});
    }
    const std::size_t rowBytes = RowBytes(d.width, bitCount);
    for (std::size_t row = d.height; row-- > 0;) {  // bottom row first
        std::vector<std::uint8_t> line(rowBytes, 0);
        for (std::size_t x = 0; x < d.width; ++x) {
            const std::uint8_t index = d.pixels[row * d.width + x];
            out.translucent = out.translucent || d.alpha[index] != 255;
            if (bitCount == 8) {
                line[x] = index;
            } else {
                line[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index & 0x0F);
            }
        }
        out.bytes.insert(out.bytes.end(), line.begin(), line.end());
    }
    return out;
}

ClassicBitmap TrueColour(const Decoding& d) {
    ClassicBitmap out{ConvertResult::Ok, Headers(d, 16, 0)};
    out.reduced = true;
    const std::size_t rowBytes = RowBytes(d.width, 16);
    for (std::size_t row = d.height; row-- > 0;) {  // bottom row first
        for (std::size_t x = 0; x < d.width; ++x) {
            const std::uint8_t* p = &d.pixels[4 * (row * d.width + x)];
            out.translucent = out.translucent || p[3] != 255;
            const auto x555 =
                static_cast<std::uint16_t>((p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3);
            out.bytes.insert(out.bytes.end(), {static_cast<std::uint8_t>(x555),
                                               static_cast<std::uint8_t>(x555 >> 8)});
        }
        out.bytes.resize(out.bytes.size() + rowBytes - 2 * d.width, 0);
    }
    return out;
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> file) {
    return file.size() >= 8 && png_sig_cmp(file.data(), 0, 8) == 0;
}

ClassicBitmap PngToClassicBitmap(std::span<const std::uint8_t> file) {
    auto d = std::make_unique<Decoding>();
    d->file = file;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, d.get(), Fail, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool decoded = info != nullptr && Decode(png, info, *d);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!decoded) {
        ClassicBitmap refused{d->refusal, {}};
        refused.reason = d->message;
        return refused;
    }
    return d->indexed ? Indexed(*d) : TrueColour(*d);
}
