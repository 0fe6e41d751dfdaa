#pragma once

#include <cstdint>

// The texture last chosen by double-click as the source of replacements.
struct ReplacementSource {
    std::uint32_t entryIndex = 0;  // entry within sizeClass
    std::uint32_t sizeClass = 0;
    std::uint32_t size = 0;  // bytes it needs: its room, or a user bitmap's record length
};
