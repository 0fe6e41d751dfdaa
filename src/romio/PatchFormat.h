#pragma once

#include <cstdint>
#include <span>

// The patch formats Apply Patch accepts, told apart by their first bytes.
enum class PatchFormat {
    Custom,  // anything else: read as the editor's own ".pat" format, with its checks
    Ips,     // starts with "PATCH"
    Bps,     // starts with "BPS1"
};

// Which reader a patch's bytes go to. A custom patch starts with its little-endian record count,
// which can never spell "PATCH" or "BPS1" within the record limit, so nothing valid is
// misdirected. Bytes too short for either header are Custom.
PatchFormat DetectPatchFormat(std::span<const std::uint8_t> patch);
