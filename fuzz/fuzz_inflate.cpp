// Inflates arbitrary bytes with an output limit taken from the first two bytes, and holds the
// result against zlib's raw inflater under the same limit: both accept or both refuse, with the
// same bytes. Checks that nothing passes the limit and that an accepted stream reads no further
// than its input.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "codec/Inflate.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// zlib's output when the final block ends within `limit` bytes.
bool ZlibInflate(std::span<const std::uint8_t> stream, std::size_t limit,
                 std::vector<std::uint8_t>& out) {
    out.assign(limit + 1, 0);
    z_stream z{};
    Require(inflateInit2(&z, -15) == Z_OK);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(limit);
    const bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    inflateEnd(&z);
    return ended;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t limit = data[0] | std::size_t{data[1]} << 8;
    const std::span<const std::uint8_t> stream(data + 2, size - 2);
    const InflateOutcome ours = InflateRaw(stream, limit);
    Require(ours.output.size() <= limit);
    std::vector<std::uint8_t> zlib;
    const bool zlibAccepts = ZlibInflate(stream, limit, zlib);
    Require((ours.result == InflateResult::Ok) == zlibAccepts);
    if (ours.result != InflateResult::Ok) {
        return 0;
    }
    Require(ours.output == zlib);
    Require(ours.bitsUsed <= 8 * stream.size());
    // The stream needs no byte past the one holding its last bit.
    const InflateOutcome cut = InflateRaw(stream.first((ours.bitsUsed + 7) / 8), limit);
    Require(cut.result == InflateResult::Ok && cut.output == ours.output &&
            cut.bitsUsed == ours.bitsUsed);
    if (!ours.output.empty()) {
        Require(InflateRaw(stream, ours.output.size() - 1).result ==
                InflateResult::OutputPastLimit);
    }
    return 0;
}
