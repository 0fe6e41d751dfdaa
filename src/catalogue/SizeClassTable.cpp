#include "catalogue/SizeClassTable.h"

#include <utility>

SizeClassTable::SizeClassTable() : m_records(SIZE_CLASS_COUNT) {}

void SizeClassTable::ResetForLoad() {
    for (SizeClassRecord& record : m_records) {
        record.entryCount = 0;
        record.replacementIndex.fill(NO_REPLACEMENT);
        record.replacementSize.fill(0);
    }
}

bool SizeClassTable::AppendEntry(int sizeClass, std::string imagePath, std::uint32_t romOffset,
                                 std::uint32_t width, std::uint32_t height) {
    SizeClassRecord& record = m_records.at(sizeClass);
    if (record.entryCount >= MAX_CLASS_ENTRIES) {
        return false;
    }
    const std::uint32_t k = record.entryCount;
    record.imagePath[k] = std::move(imagePath);
    record.romOffset[k] = romOffset;
    record.width[k] = width;
    record.height[k] = height;
    record.entryCount = k + 1;
    return true;
}
