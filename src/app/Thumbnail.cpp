#include "app/Thumbnail.h"

#include <QPainter>

#include "codec/ClassicBitmap.h"
#include "codec/PngPicture.h"
#include "dib/CDib.h"
#include "dib/DibRender.h"
#include "io/FileBytes.h"
#include "io/LittleEndian.h"

QImage UnreadableMarker(int width, int height) {
    QImage marker(width, height, QImage::Format_RGB32);
    marker.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&marker);
    painter.setPen(QPen(QColor(0xC0, 0x10, 0x10), 1));
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.drawLine(0, height - 1, width - 1, 0);
    return marker;
}

QImage LoadThumbnail(const std::filesystem::path& bitmap, int width, int height) {
    if (width <= 0 || height <= 0) {
        return QImage();
    }
    // What the conversion reads: a PNG or a newer bitmap as the classic bitmap it becomes.
    const auto bytes = ReadFileBytes(bitmap, MAX_PNG_FILE_BYTES);
    // Run-length bitmaps are drawn as read: the rewriting knows only rows of plain pixels.
    const std::uint32_t compression = bytes && !IsPng(*bytes) ? LoadU32OrZero(*bytes, 30) : 0;
    const ClassicBitmap classic = !bytes ? ClassicBitmap{ConvertResult::CannotOpen, {}}
                                  : compression == 1 || compression == 2 ? ClassicBitmap{}
                                                                         : ToClassicBitmap(*bytes);
    CDib dib;
    if (classic.result != ConvertResult::Ok ||
        dib.Read(classic.bytes.empty() ? std::span<const std::uint8_t>(*bytes) : classic.bytes) ==
            0) {
        return UnreadableMarker(width, height);
    }
    QImage image(width, height, QImage::Format_RGB32);
    // Drawn straight into the image's rows (32-bit pixels, rows bytesPerLine apart).
    if (!RenderScaledInto(dib, width, height, reinterpret_cast<std::uint32_t*>(image.bits()),
                          static_cast<std::size_t>(image.bytesPerLine()) / 4)) {
        return UnreadableMarker(width, height);
    }
    return image;
}
