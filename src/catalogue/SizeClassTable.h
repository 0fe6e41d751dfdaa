#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/SizeClasses.h"

// Capacity of one size class: the number of entry slots, loaded or not.
inline constexpr std::uint32_t MAX_CLASS_ENTRIES = 1024;
// `replacementIndex` of an entry with no pending replacement.
inline constexpr std::uint32_t NO_REPLACEMENT = 99999;
// What an entry's description reads when its description file has no line for it. The six
// blanks stand where a line's offset key would be, which display always drops.
inline constexpr const char* NO_DESCRIPTION = "      No Description";

// One size class of the catalogue: parallel arrays of MAX_CLASS_ENTRIES slots plus a count.
// Entry k (k < entryCount) is the k-th bitmap of the class folder and item k of the texture list.
// Slots at or above entryCount mean nothing to the listing, but every slot's replacementIndex is
// kept valid because saving a ROM scans them all.
struct SizeClassRecord {
    // Full path of the bitmap shown for the entry; Replace points it at the replacement's bitmap.
    std::array<std::string, MAX_CLASS_ENTRIES> imagePath;
    // Native-order byte position of the texture's record in the ROM image; for the User class
    // the entry's own index.
    std::array<std::uint32_t, MAX_CLASS_ENTRIES> romOffset{};
    // Entry index (within replacementClass) of the chosen replacement, or NO_REPLACEMENT.
    std::array<std::uint32_t, MAX_CLASS_ENTRIES> replacementIndex{};
    // Number of bytes the replacement writes; 0 when there is none.
    std::array<std::uint16_t, MAX_CLASS_ENTRIES> replacementSize{};
    // Class index of the chosen replacement; meaningful only while replacementIndex is set.
    std::array<std::uint32_t, MAX_CLASS_ENTRIES> replacementClass{};
    // The whole description line (key and line break included), NO_DESCRIPTION, or for the User
    // class the bitmap's file title.
    std::array<std::string, MAX_CLASS_ENTRIES> description;
    // Texture size in pixels.
    std::array<std::uint32_t, MAX_CLASS_ENTRIES> width{};
    std::array<std::uint32_t, MAX_CLASS_ENTRIES> height{};
    // Number of loaded entries, at most MAX_CLASS_ENTRIES.
    std::uint32_t entryCount = 0;

    SizeClassRecord() { replacementIndex.fill(NO_REPLACEMENT); }
};

// The whole catalogue: one record per size class, alive for the program's run and rebuilt by
// each successful ROM load.
class SizeClassTable {
public:
    SizeClassTable();

    // Empties every class and clears every pending replacement in all slots. Paths, offsets,
    // descriptions, sizes and replacement classes are left as they were.
    void ResetForLoad();

    // Writes slot entryCount of `sizeClass` and counts it. Returns false, changing nothing, when
    // the class is full.
    bool AppendEntry(int sizeClass, std::string imagePath, std::uint32_t romOffset,
                     std::uint32_t width, std::uint32_t height);

    SizeClassRecord& operator[](int sizeClass) { return m_records.at(sizeClass); }
    const SizeClassRecord& operator[](int sizeClass) const { return m_records.at(sizeClass); }

private:
    // Held on the heap: the 24 records are a few megabytes.
    std::vector<SizeClassRecord> m_records;
};
