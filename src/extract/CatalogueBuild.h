#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "extract/CataloguePlan.h"

// Building the catalogue beside the program from a ROM image: a bitmap per texture in its class
// folder, the description files that are missing (empty), the User folder and the image table.

// Called with the steps done and the steps in all, from the start; returns false to cancel.
using BuildProgress = std::function<bool(std::size_t done, std::size_t total)>;

enum class CatalogueBuildError {
    None,
    Cancelled,    // the progress callback asked to stop: nothing of the catalogue was changed
    Exists,       // a bitmap of a texture or the image table is there already (see `conflict`)
    CannotWrite,  // a file or folder could not be written (see `detail`); nothing was changed
    NoTextures,   // no record of the image matches a game class: nothing was written
};

struct CatalogueBuildResult {
    CatalogueBuildError error = CatalogueBuildError::None;
    CataloguePlan plan;              // what the image holds, also when nothing was written
    std::filesystem::path conflict;  // Exists: the first file that is there already
    std::string detail;              // CannotWrite: what failed, naming the file
    std::size_t bitmapsWritten = 0;
    std::size_t descriptionFilesCreated = 0;
    // Bitmaps already in the class folders that are no texture of this image (a catalogue of
    // another ROM): the image table does not bound them, so the editor would give them its
    // default room. They are left in place and reported.
    std::vector<std::filesystem::path> strayBitmaps;
};

// The bitmap file name of a texture: its offset as six upper-case hexadecimal digits, ".bmp".
std::string TextureBitmapName(std::uint32_t offset);

// Builds the catalogue of `image` (either byte order) below `programFolder`.
//
// Everything is made in memory first: the records are found in the native form
// (ScanTextureRecords), the plan made (PlanCatalogue) and every file's bytes encoded. A texture's
// bitmap goes to an existing bitmap of its class folder that carries its offset (the first in name
// order), else to TextureBitmapName. Unless `force`, the run is refused before anything is written
// when such a bitmap or the image table exists already. Then the folders are created, the bitmaps
// written, missing description files created empty (existing ones are kept), and the image
// table written, each file with WriteFileAtomically.
//
// An image without any texture of a game class is refused before anything is written, as its
// catalogue would be empty and its image table would bound nothing.
//
// `progress` (may be empty) is told one step for the search, one per bitmap made and one per
// file written. Cancelling, or a failure to write, undoes what the run wrote: new files and
// folders are removed and files written over get their old bytes back, so the catalogue is as
// before the run.
CatalogueBuildResult BuildCatalogue(std::span<const std::uint8_t> image,
                                    const std::filesystem::path& programFolder, bool force,
                                    const BuildProgress& progress = {});
