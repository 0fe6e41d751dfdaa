#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <vector>

// Opens a texture record the way a standard reader would: header fields as stored, and the
// stream inflated as raw RFC 1951 data by zlib.
struct OpenedRecord {
    std::uint8_t formatCode = 0;
    int count = 0;
    std::vector<std::uint16_t> palette;
    int width = 0;
    int height = 0;
    // The inflated stream; nullopt when the record is cut short or its final block never ends.
    std::optional<std::vector<std::uint8_t>> data;

    bool FourBit() const { return formatCode == 0x0A || formatCode == 0x0C; }
};

inline OpenedRecord OpenRecord(const std::vector<std::uint8_t>& record) {
    OpenedRecord opened;
    if (record.size() < 2) {
        return opened;
    }
    opened.formatCode = record[0];
    opened.count = record[1] + 1;
    const std::size_t streamStart = 6 + 2 * static_cast<std::size_t>(opened.count);
    if (record.size() < streamStart) {
        return opened;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(opened.count); ++i) {
        opened.palette.push_back(
            static_cast<std::uint16_t>(record[2 + 2 * i] << 8 | record[3 + 2 * i]));
    }
    opened.width = record[streamStart - 4];
    opened.height = record[streamStart - 3];

    std::vector<std::uint8_t> out(1 << 16);
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) {
        return opened;
    }
    stream.next_in = const_cast<Bytef*>(record.data() + streamStart);
    stream.avail_in = static_cast<uInt>(record.size() - streamStart);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    if (status == Z_STREAM_END) {
        opened.data = out;
    }
    return opened;
}
