#pragma once

#include <QImage>
#include <filesystem>

// Reads a bitmap or PNG file as the conversion does (newer kinds rewritten as the classic bitmap
// of the same picture) and draws it with the editor's own reader, scaled to width x height,
// dropping or repeating pixels. A file that cannot be read or drawn gives a marker picture
// (a red cross on grey) of the same size, so that a list item still shows something.
QImage LoadThumbnail(const std::filesystem::path& bitmap, int width, int height);

// The marker picture for a bitmap that cannot be shown.
QImage UnreadableMarker(int width, int height);
