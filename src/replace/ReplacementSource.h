#pragma once

#include <cstdint>

// The texture last chosen by double-click as the source of replacements.
struct ReplacementSource {
    std::uint32_t entryIndex = 0;  // entry within sizeClass
    std::uint32_t sizeClass = 0;
    std::uint32_t size = 0;  // bytes it needs: its room, or a user bitmap's record length
    // False in the state a load leaves behind, before any texture was chosen: Replace then has
    // nothing to copy.
    bool chosen = true;
};

// The source after a load: entry 0 of class 0, size 0, not chosen.
inline constexpr ReplacementSource NO_SOURCE{0, 0, 0, false};
