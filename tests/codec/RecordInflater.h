#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// zlib's raw RFC 1951 inflater, the independent reader of our streams; nullopt when the final
// block never ends (or the output would pass 64 KiB).
inline std::optional<std::vector<std::uint8_t>> InflateRaw(std::span<const std::uint8_t> stream) {
    std::vector<std::uint8_t> out(1 << 16);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        return std::nullopt;
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    inflateEnd(&z);
    if (!ended)
        return std::nullopt;
    return out;
}

// A texture record opened the way a standard reader would: header fields as stored, the stream
// inflated by zlib (nullopt when the record is cut short or its block never ends).
struct OpenedRecord {
    std::uint8_t formatCode = 0;
    int count = 0, width = 0, height = 0;
    std::vector<std::uint16_t> palette;
    std::optional<std::vector<std::uint8_t>> data;
    bool FourBit() const { return formatCode == 0x0A || formatCode == 0x0C; }
};

inline OpenedRecord OpenRecord(const std::vector<std::uint8_t>& record) {
    OpenedRecord r;
    const std::size_t start = record.size() < 2 ? 0 : 6 + 2 * std::size_t{record[1]} + 2;
    if (start == 0 || record.size() < start)
        return r;
    r.formatCode = record[0];
    r.count = record[1] + 1;
    for (std::size_t i = 2; i + 4 < start; i += 2) {
        r.palette.push_back(static_cast<std::uint16_t>(record[i] << 8 | record[i + 1]));
    }
    r.width = record[start - 4];
    r.height = record[start - 3];
    r.data = InflateRaw(std::span(record).subspan(start));
    return r;
}
