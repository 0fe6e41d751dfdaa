#include "romio/PatchFormat.h"

#include <algorithm>
#include <string_view>

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view text) {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

}  // namespace

PatchFormat DetectPatchFormat(std::span<const std::uint8_t> patch) {
    if (StartsWith(patch, "PATCH")) {
        return PatchFormat::Ips;
    }
    if (StartsWith(patch, "BPS1")) {
        return PatchFormat::Bps;
    }
    return PatchFormat::Custom;
}
