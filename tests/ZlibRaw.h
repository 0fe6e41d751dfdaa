#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

// zlib's raw deflate (no header, no checksum), the independent maker of streams for the
// inflater's tests, benchmark and fuzz seeds. A small `memLevel` makes many short blocks.
inline std::vector<std::uint8_t> ZlibRawDeflate(const std::vector<std::uint8_t>& data, int level,
                                                int strategy, int memLevel = 8) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, memLevel, strategy);
    std::vector<std::uint8_t> out(deflateBound(&z, data.size()) + 64);  // short for empty input
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}
