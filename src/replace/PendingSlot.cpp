#include "replace/PendingSlot.h"

#include <filesystem>

ReplacementSlot ReadSlot(const SizeClassTable& table, int sizeClass, int entry) {
    const SizeClassRecord& record = table[sizeClass];
    const auto k = static_cast<std::size_t>(entry);
    return {record.replacementIndex.at(k), record.replacementClass.at(k),
            record.replacementSize.at(k), record.imagePath.at(k)};
}

void WriteSlot(SizeClassTable& table, int sizeClass, int entry, const ReplacementSlot& slot) {
    SizeClassRecord& record = table[sizeClass];
    const auto k = static_cast<std::size_t>(entry);
    record.replacementIndex.at(k) = slot.replacementIndex;
    record.replacementClass.at(k) = slot.replacementClass;
    record.replacementSize.at(k) = slot.replacementSize;
    record.imagePath.at(k) = slot.imagePath;
}

std::optional<PendingSource> DescribePending(const SizeClassTable& table, int sizeClass,
                                             int entry) {
    const ReplacementSlot slot = ReadSlot(table, sizeClass, entry);
    if (slot.replacementIndex >= MAX_CLASS_ENTRIES ||
        slot.replacementClass >= static_cast<std::uint32_t>(SIZE_CLASS_COUNT)) {
        return std::nullopt;
    }
    PendingSource pending;
    pending.sizeClass = static_cast<int>(slot.replacementClass);
    pending.entry = slot.replacementIndex;
    pending.user = pending.sizeClass == USER_CLASS;
    const SizeClassRecord& source = table[pending.sizeClass];
    pending.offset = source.romOffset[pending.entry];
    if (pending.user) {
        pending.fileName =
            std::filesystem::path(source.imagePath[pending.entry]).filename().string();
    }
    pending.size = slot.replacementSize;
    return pending;
}
