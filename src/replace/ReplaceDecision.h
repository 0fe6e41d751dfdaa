#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/ImageTable.h"
#include "catalogue/SizeClassTable.h"
#include "replace/ReplacementSource.h"

// What Replace makes of a target and the chosen source.
enum class ReplaceVerdict {
    Recorded,    // the replacement fits (or its size is forced) and may be recorded
    UserTarget,  // the target is a User bitmap, which is not part of the game
    NoTarget,    // no texture is marked: nothing happens
    NoSource,    // no source was chosen since the last load
    SameImage,   // the source is the target itself
    TooLarge,    // the source needs more than the target's room and the size is not forced
};

// The verdict, the target's room, and the values Replace records on the target.
struct ReplaceDecision {
    ReplaceVerdict verdict = ReplaceVerdict::NoTarget;
    std::uint32_t room = 0;              // the target's room; 0 before it is looked up
    std::uint32_t sourceSize = 0;        // the bytes the source needs
    std::uint32_t replacementIndex = 0;  // the source's entry
    std::uint32_t replacementClass = 0;  // the source's class
    std::uint16_t replacementSize = 0;   // bytes to copy: the forced size or the source's size
};

// Judges replacing entry `targetEntry` (-1 for none) of class `targetClass` by `source`, in this
// order: a User target, no target, no source chosen, the same image, too large. Sizes compare as
// signed 32-bit values, as the table's rooms may be nonsense for odd entries. `forcedSizeHex` holds
// the forced-size field when sizes are forced: it is parsed as hexadecimal and stored in 16 bits.
ReplaceDecision DecideReplacement(const SizeClassTable& table,
                                  const std::optional<ImageTable>& imageTable, int targetClass,
                                  int targetEntry, const ReplacementSource& source,
                                  const std::optional<std::string>& forcedSizeHex);

// Records an accepted decision on the target, which from now on shows the source's bitmap.
void RecordReplacement(SizeClassTable& table, int targetClass, int targetEntry,
                       const ReplaceDecision& decision);
