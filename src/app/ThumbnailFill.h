#pragma once

#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>

#include "catalogue/SizeClassTable.h"

class ThumbnailList;

// Fills `list` with one thumbnail of `thumbnail` size per entry of `record`, on the grid of
// ReflowGrid. Entries whose description does not contain `upperFilter` (compared in
// upper case; an empty filter is found in every description) keep their item but show the
// placeholder bitmap, which `placeholder` writes the first time it is needed.
void FillTextureList(ThumbnailList* list, const SizeClassRecord& record, QSize thumbnail,
                     const QString& upperFilter,
                     const std::function<std::filesystem::path()>& placeholder);

// Shows `bitmap` at `size` as the replacement preview's one item.
void FillPreview(ThumbnailList* preview, const std::filesystem::path& bitmap, QSize size);
