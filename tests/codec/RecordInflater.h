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
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (inflateInit2(&z, -15) != Z_OK)
        return std::nullopt;
    const bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    inflateEnd(&z);
    return ended ? std::optional(out) : std::nullopt;
}

// The stream of a texture record (record[1] + 1 palette entries) as zlib inflates it.
inline std::optional<std::vector<std::uint8_t>> InflateRecord(
    const std::vector<std::uint8_t>& record) {
    if (record.size() < 2 || record.size() < 8 + 2 * std::size_t{record[1]})
        return std::nullopt;
    return InflateRaw(std::span(record).subspan(8 + 2 * std::size_t{record[1]}));
}
