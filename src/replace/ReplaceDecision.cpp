#include "replace/ReplaceDecision.h"

#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "replace/TextureRoom.h"

ReplaceDecision DecideReplacement(const SizeClassTable& table,
                                  const std::optional<ImageTable>& imageTable, int targetClass,
                                  int targetEntry, const ReplacementSource& source,
                                  const std::optional<std::string>& forcedSizeHex) {
    ReplaceDecision decision;
    if (targetClass == USER_CLASS) {
        decision.verdict = ReplaceVerdict::UserTarget;
        return decision;
    }
    if (targetEntry < 0) {
        return decision;
    }
    decision.room = AvailableRoom(imageTable, table[targetClass].romOffset[targetEntry]);
    decision.sourceSize = source.size;
    if (!source.chosen) {
        decision.verdict = ReplaceVerdict::NoSource;
        return decision;
    }
    if (source.entryIndex == static_cast<std::uint32_t>(targetEntry) &&
        source.sizeClass == static_cast<std::uint32_t>(targetClass)) {
        decision.verdict = ReplaceVerdict::SameImage;
        return decision;
    }
    if (static_cast<std::int32_t>(source.size) > static_cast<std::int32_t>(decision.room) &&
        !forcedSizeHex) {
        decision.verdict = ReplaceVerdict::TooLarge;
        return decision;
    }
    decision.verdict = ReplaceVerdict::Recorded;
    decision.replacementIndex = source.entryIndex;
    decision.replacementClass = source.sizeClass;
    decision.replacementSize =
        static_cast<std::uint16_t>(forcedSizeHex ? ParseHex(*forcedSizeHex) : source.size);
    return decision;
}

void RecordReplacement(SizeClassTable& table, int targetClass, int targetEntry,
                       const ReplaceDecision& decision) {
    SizeClassRecord& target = table[targetClass];
    const auto k = static_cast<std::uint32_t>(targetEntry);
    target.replacementIndex[k] = decision.replacementIndex;
    target.replacementClass[k] = decision.replacementClass;
    target.replacementSize[k] = decision.replacementSize;
    target.imagePath[k] =
        table[static_cast<int>(decision.replacementClass)].imagePath[decision.replacementIndex];
}
