#include "extract/CataloguePlan.h"

#include <algorithm>

#include "catalogue/ImageTable.h"

namespace {

// Where a room that may run over padding from `start` ends: at the first byte that is not the
// padding byte found at `start`, at `limit` at the latest.
std::size_t PaddingEnd(std::span<const std::uint8_t> image, std::size_t start, std::size_t limit) {
    if (start >= limit || (image[start] != 0x00 && image[start] != 0xFF)) {
        return start;
    }
    const std::uint8_t padding = image[start];
    const auto end = std::find_if(image.begin() + static_cast<std::ptrdiff_t>(start),
                                  image.begin() + static_cast<std::ptrdiff_t>(limit),
                                  [padding](std::uint8_t b) { return b != padding; });
    return static_cast<std::size_t>(end - image.begin());
}

LeftOutRecord LeftOut(const FoundRecord& found, LeftOutReason reason) {
    return {found.offset,         found.texture.recordSize, found.texture.width,
            found.texture.height, found.texture.formatFlag, reason};
}

}  // namespace

int MatchSizeClass(const DecodedTexture& texture) {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const SizeClassInfo& info = SizeClasses()[static_cast<std::size_t>(sizeClass)];
        if (ClassWidth(sizeClass) == static_cast<std::uint32_t>(texture.width) &&
            ClassHeight(sizeClass) == static_cast<std::uint32_t>(texture.height) &&
            info.formatFlag.size() == 1 && info.formatFlag[0] == texture.formatFlag) {
            return sizeClass;
        }
    }
    return -1;
}

CataloguePlan PlanCatalogue(std::span<const FoundRecord> records,
                            std::span<const std::uint8_t> nativeImage) {
    CataloguePlan plan;
    // The records that stand: none starts inside an earlier one.
    std::vector<std::size_t> kept;
    std::size_t keptEnd = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const FoundRecord& found = records[i];
        if (!kept.empty() && found.offset < keptEnd) {
            plan.leftOut.push_back(LeftOut(found, LeftOutReason::InsideAnother));
            continue;
        }
        kept.push_back(i);
        keptEnd = found.offset + found.texture.recordSize;
    }

    bool tableFull = false;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const FoundRecord& found = records[kept[k]];
        const int sizeClass = MatchSizeClass(found.texture);
        if (sizeClass < 0 || tableFull) {
            plan.leftOut.push_back(
                LeftOut(found, sizeClass < 0 ? LeftOutReason::NoClass : LeftOutReason::TableFull));
            continue;
        }
        const std::size_t start = found.offset;
        const std::size_t recordEnd =
            std::min(start + found.texture.recordSize, nativeImage.size());
        const std::size_t limit =
            k + 1 < kept.size() ? records[kept[k + 1]].offset : nativeImage.size();
        const std::size_t end = PaddingEnd(nativeImage, recordEnd, std::max(limit, recordEnd));
        const std::size_t room = std::min<std::size_t>(
            end > recordEnd ? end - start - 1 : recordEnd - start, MAX_EXTRACTED_ROOM);

        const std::uint32_t key = found.offset - 1;
        const bool shared = !plan.table.empty() && plan.table.back() == key;
        if (plan.table.size() + (shared ? 1 : 2) > IMAGE_TABLE_LENGTH) {
            tableFull = true;
            plan.leftOut.push_back(LeftOut(found, LeftOutReason::TableFull));
            continue;
        }
        if (!shared) {
            plan.table.push_back(key);
        }
        plan.table.push_back(found.offset + static_cast<std::uint32_t>(room));
        plan.textures.push_back({sizeClass, kept[k], found.offset, found.texture.recordSize,
                                 static_cast<std::uint32_t>(room)});
        ++plan.perClass[static_cast<std::size_t>(sizeClass)];
    }
    std::sort(plan.leftOut.begin(), plan.leftOut.end(),
              [](const LeftOutRecord& a, const LeftOutRecord& b) { return a.offset < b.offset; });
    const std::uint32_t fill = plan.table.empty() ? 0 : plan.table.back();
    plan.table.resize(IMAGE_TABLE_LENGTH, fill);
    return plan;
}
