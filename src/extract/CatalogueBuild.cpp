#include "extract/CatalogueBuild.h"

#include <cstdio>
#include <map>
#include <optional>
#include <system_error>

#include "catalogue/CatalogueScan.h"
#include "catalogue/FolderListing.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "extract/TextureBitmap.h"
#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PlannedFile {
    fs::path path;
    Bytes bytes;
};

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Undoes a run's writes in the reverse order: files written over get their old bytes back,
// new files and folders go.
class WriteJournal {
public:
    FileWriteResult CreateFolder(const fs::path& folder) {
        if (Exists(folder)) {
            return {true, {}};
        }
        FileWriteResult made = CreateFolders(folder);
        if (made.ok) {
            m_folders.push_back(folder);
        }
        return made;
    }
    // An empty description file, as Load ROM makes them: nothing to force to the disk, as one
    // lost is simply made again.
    FileWriteResult CreateEmpty(const fs::path& path) {
        FileWriteResult made = CreateEmptyFileIfMissing(path);
        if (made.ok) {
            m_files.push_back({path, std::nullopt});
        }
        return made;
    }
    FileWriteResult Write(const fs::path& path, std::span<const std::uint8_t> bytes) {
        std::optional<Bytes> old;
        if (Exists(path)) {
            old = ReadFileBytes(path);
            if (!old) {
                return {false, "cannot read \"" + path.string() + "\" to keep its old bytes"};
            }
        }
        FileWriteResult written = WriteFileAtomically(path, bytes);
        if (written.ok) {
            m_files.push_back({path, std::move(old)});
        }
        return written;
    }
    void Undo() {
        for (auto file = m_files.rbegin(); file != m_files.rend(); ++file) {
            std::error_code ignored;
            if (file->old) {
                WriteFileAtomically(file->path, *file->old);
            } else {
                fs::remove(file->path, ignored);
            }
        }
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
            std::error_code ignored;  // a folder the user has put something into stays
            fs::remove(*folder, ignored);
        }
        m_files.clear();
        m_folders.clear();
    }

private:
    struct Written {
        fs::path path;
        std::optional<Bytes> old;
    };
    std::vector<Written> m_files;
    std::vector<fs::path> m_folders;
};

Bytes TableBytes(const std::vector<std::uint32_t>& values) {
    Bytes bytes(values.size() * 4);
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t k = 0; k < 4; ++k) {
            bytes[4 * i + k] = static_cast<std::uint8_t>(values[i] >> (8 * k));
        }
    }
    return bytes;
}

// The bitmaps each class folder holds already, by the offset their names start with.
std::map<std::uint32_t, fs::path> ExistingBitmaps(const fs::path& classFolder) {
    std::map<std::uint32_t, fs::path> byOffset;
    for (const FolderMatch& match : ListMatching(classFolder, BITMAP_PATTERN).matches) {
        byOffset.emplace(ParseHex(std::string_view(match.name).substr(0, 6)), match.fullPath);
    }
    return byOffset;
}

}  // namespace

std::string TextureBitmapName(std::uint32_t offset) {
    char name[16];
    std::snprintf(name, sizeof name, "%06X.bmp", static_cast<unsigned>(offset & 0xFFFFFF));
    return name;
}

CatalogueBuildResult BuildCatalogue(std::span<const std::uint8_t> image,
                                    const fs::path& programFolder, bool force,
                                    const BuildProgress& progress) {
    CatalogueBuildResult result;
    std::size_t done = 0;
    std::size_t total = 1;
    const auto step = [&] { return !progress || progress(++done, total); };

    Bytes storage;
    const std::span<const std::uint8_t> native = NativeImage(image, storage);
    const std::vector<FoundRecord> records = ScanTextureRecords(native);
    result.plan = PlanCatalogue(records, native);
    const CataloguePlan& plan = result.plan;
    // Steps: the search, a bitmap made per texture, then every file written.
    total = 1 + 2 * plan.textures.size() + USER_CLASS + 1;
    if (!step()) {
        result.error = CatalogueBuildError::Cancelled;
        return result;
    }
    if (plan.textures.empty()) {
        result.error = CatalogueBuildError::NoTextures;
        return result;
    }

    // Each folder's spelling is looked up once: a folder that is missing is made as written.
    std::vector<fs::path> classFolders;
    std::vector<std::map<std::uint32_t, fs::path>> existing;
    for (int sizeClass = 0; sizeClass < SIZE_CLASS_COUNT; ++sizeClass) {
        classFolders.push_back(ClassFolderPath(programFolder, sizeClass));
        existing.push_back(ExistingBitmaps(classFolders.back()));
    }
    std::vector<std::map<std::uint32_t, fs::path>> strays = existing;
    for (const PlannedTexture& texture : plan.textures) {
        strays[static_cast<std::size_t>(texture.sizeClass)].erase(texture.offset);
    }
    for (const auto& inFolder : strays) {
        for (const auto& [offset, path] : inFolder) {
            result.strayBitmaps.push_back(path);
        }
    }
    const fs::path tablePath = programFolder / IMAGE_TABLE_FILE;
    if (!force && Exists(tablePath)) {
        result.error = CatalogueBuildError::Exists;
        result.conflict = tablePath;
        return result;
    }
    std::vector<PlannedFile> files;
    for (const PlannedTexture& texture : plan.textures) {
        const auto& inFolder = existing[static_cast<std::size_t>(texture.sizeClass)];
        const auto there = inFolder.find(texture.offset);
        fs::path path = there != inFolder.end()
                            ? there->second
                            : classFolders[static_cast<std::size_t>(texture.sizeClass)] /
                                  TextureBitmapName(texture.offset);
        if (!force && Exists(path)) {
            result.error = CatalogueBuildError::Exists;
            result.conflict = path;
            return result;
        }
        files.push_back({std::move(path), TextureBitmap(records[texture.record].texture)});
        if (!step()) {
            result.error = CatalogueBuildError::Cancelled;
            return result;
        }
    }

    WriteJournal journal;
    const auto fail = [&](CatalogueBuildError error, std::string detail) {
        journal.Undo();
        result.error = error;
        result.detail = std::move(detail);
        result.bitmapsWritten = 0;
        result.descriptionFilesCreated = 0;
        return result;
    };
    std::vector<fs::path> folders = {programFolder,
                                     ResolvePathIgnoringCase(programFolder, "romimages")};
    for (int sizeClass = 0; sizeClass < SIZE_CLASS_COUNT; ++sizeClass) {
        folders.push_back(classFolders[static_cast<std::size_t>(sizeClass)]);
    }
    for (const fs::path& folder : folders) {
        const FileWriteResult made = journal.CreateFolder(folder);
        if (!made.ok) {
            return fail(CatalogueBuildError::CannotWrite, made.error);
        }
    }
    for (const PlannedFile& file : files) {
        const FileWriteResult written = journal.Write(file.path, file.bytes);
        if (!written.ok) {
            return fail(CatalogueBuildError::CannotWrite, written.error);
        }
        ++result.bitmapsWritten;
        if (!step()) {
            return fail(CatalogueBuildError::Cancelled, {});
        }
    }
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        const fs::path description = ResolvePathIgnoringCase(
            classFolders[static_cast<std::size_t>(sizeClass)],
            SizeClasses()[static_cast<std::size_t>(sizeClass)].descriptionFile);
        if (!Exists(description)) {
            const FileWriteResult written = journal.CreateEmpty(description);
            if (!written.ok) {
                return fail(CatalogueBuildError::CannotWrite, written.error);
            }
            ++result.descriptionFilesCreated;
        }
        if (!step()) {
            return fail(CatalogueBuildError::Cancelled, {});
        }
    }
    const FileWriteResult table = journal.Write(tablePath, TableBytes(plan.table));
    if (!table.ok) {
        return fail(CatalogueBuildError::CannotWrite, table.error);
    }
    step();  // the last step: too late to cancel
    return result;
}
