#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/SizeClassTable.h"

// What one catalogue slot holds of a replacement: the three replacement fields and the bitmap it
// shows. Replace changes exactly these, so putting a slot's earlier value back undoes a Replace.
struct ReplacementSlot {
    std::uint32_t replacementIndex = NO_REPLACEMENT;
    std::uint32_t replacementClass = 0;
    std::uint16_t replacementSize = 0;
    std::string imagePath;

    bool operator==(const ReplacementSlot&) const = default;
};

// Slot `entry` of class `sizeClass`, read and written whole. Both must name a slot that exists.
ReplacementSlot ReadSlot(const SizeClassTable& table, int sizeClass, int entry);
void WriteSlot(SizeClassTable& table, int sizeClass, int entry, const ReplacementSlot& slot);

// A pending replacement as the user knows it: the texture that will be copied over the target.
struct PendingSource {
    int sizeClass = 0;
    std::uint32_t entry = 0;
    // For a game texture its ROM offset; for a User bitmap its file name.
    bool user = false;
    std::uint32_t offset = 0;
    std::string fileName;
    // The bytes Save New ROM will write at the target.
    std::uint16_t size = 0;
};

// The pending replacement of slot `entry` of class `sizeClass`; nullopt when it has none, or when
// it names a source that does not exist.
std::optional<PendingSource> DescribePending(const SizeClassTable& table, int sizeClass, int entry);
