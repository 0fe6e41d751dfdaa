#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <random>
#include <system_error>

#include "io/FileOps.h"

namespace {

constexpr int NAME_ATTEMPTS = 16;
// Linux moves at most about 2 GiB in one write call.
constexpr std::size_t MAX_WRITE = std::size_t{1} << 30;

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

FileWriteResult Failure(const std::filesystem::path& destination, const std::string& step) {
    return {false, "cannot write " + Quoted(destination) + ": " + step};
}

FileWriteResult Failure(const std::filesystem::path& destination, const std::string& step,
                        int error) {
    return Failure(destination, step + " failed (" + std::generic_category().message(error) + ")");
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            file_ops::Write(fd, bytes.data(), std::min(bytes.size(), MAX_WRITE));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;  // no progress and no reason: treat as a failed device
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The names a replacement makes beside the destination, taken away again unless it succeeds.
class Replacement {
public:
    explicit Replacement(const std::filesystem::path& destination) : m_destination(destination) {}
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;
    ~Replacement() {
        if (m_done) {
            return;
        }
        if (m_renamed) {
            // The new file stands at the destination: bring back the old one, or no file.
            // Should that fail, the old file's second name stays: the bytes matter more.
            if (m_backupMade) {
                file_ops::Rename(m_backup, m_destination);
            } else {
                file_ops::Remove(m_destination);
            }
            if (m_folder) {
                file_ops::Sync(m_folder.Get());
            }
            return;
        }
        if (!m_temporary.empty()) {
            file_ops::Remove(m_temporary);
        }
        if (m_backupMade) {
            file_ops::Remove(m_backup);
        }
    }

    std::filesystem::path m_destination;
    std::filesystem::path m_temporary;
    std::filesystem::path m_backup;
    FileDescriptor m_folder;
    bool m_backupMade = false;
    bool m_renamed = false;
    bool m_done = false;
};

// Whether a failed link says that the file system has no hard links, rather than that something
// went wrong.
bool CannotLinkHere(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
           error == EXDEV;
}

FileWriteResult WriteThroughTemporary(const std::filesystem::path& destination,
                                      std::span<const std::uint8_t> bytes) {
    if (destination.filename().empty()) {
        return Failure(destination, "no file name");
    }
    const std::filesystem::path folder = FolderOf(destination);
    Replacement replacement(destination);

    std::random_device device;
    std::mt19937_64 generator((std::uint64_t{device()} << 32) ^ device());
    FileDescriptor file;
    std::string stem;
    for (int attempt = 0; attempt < NAME_ATTEMPTS && !file; ++attempt) {
        stem = "." + destination.filename().string() + "." + std::to_string(generator());
        replacement.m_temporary = folder / (stem + ".tmp");
        file = FileDescriptor(
            file_ops::Open(replacement.m_temporary, O_WRONLY | O_CREAT | O_EXCL, 0666));
        if (!file && errno != EEXIST) {
            const int error = errno;
            replacement.m_temporary.clear();
            return Failure(destination, "creating a temporary file in " + Quoted(folder), error);
        }
    }
    if (!file) {
        replacement.m_temporary.clear();
        return Failure(destination, "no free temporary file name in " + Quoted(folder));
    }

    struct stat old {};
    const bool oldExists = ::lstat(destination.c_str(), &old) == 0;
    struct stat target {};
    if (::stat(destination.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
        ::fchmod(file.Get(), target.st_mode & 07777);  // best effort: the data matter more
    }
    if (!WriteAll(file.Get(), bytes)) {
        return Failure(destination, "writing the temporary file", errno);
    }
    if (file_ops::Sync(file.Get()) != 0) {
        return Failure(destination, "forcing the temporary file to the disk", errno);
    }
    if (file.Close() != 0) {
        return Failure(destination, "closing the temporary file", errno);
    }
    replacement.m_folder = FileDescriptor(file_ops::Open(folder, O_RDONLY | O_DIRECTORY));
    if (!replacement.m_folder) {
        return Failure(destination, "opening its folder", errno);
    }
    if (oldExists && !S_ISDIR(old.st_mode)) {
        // The old file's second name lets a failure after the rename put it back.
        // File systems without hard links (those of many memory sticks) still get the rename,
        // which alone never leaves a partial file.
        replacement.m_backup = folder / (stem + ".old");
        if (file_ops::Link(destination, replacement.m_backup) == 0) {
            replacement.m_backupMade = true;
        } else if (!CannotLinkHere(errno)) {
            return Failure(destination, "keeping the old file while replacing it", errno);
        }
    }
    if (file_ops::Rename(replacement.m_temporary, destination) != 0) {
        return Failure(destination, "renaming the temporary file over it", errno);
    }
    replacement.m_renamed = true;
    if (file_ops::Sync(replacement.m_folder.Get()) != 0) {
        return Failure(destination, "forcing its folder to the disk", errno);
    }
    if (replacement.m_backupMade && file_ops::Remove(replacement.m_backup) != 0) {
        return Failure(destination, "removing the old file's second name", errno);
    }
    replacement.m_done = true;
    return {true, {}};
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::filesystem::path& destination,
                                    std::span<const std::uint8_t> bytes) {
    try {
        return WriteThroughTemporary(destination, bytes);
    } catch (const std::exception& e) {
        return Failure(destination, e.what());
    }
}

FileWriteResult OverwriteFileInPlace(const std::filesystem::path& destination,
                                     std::span<const std::uint8_t> bytes) {
    const std::string noSuchFile = "no file of the same length to overwrite";
    FileDescriptor file(file_ops::Open(destination, O_WRONLY));
    if (!file) {
        return errno == ENOENT ? Failure(destination, noSuchFile)
                               : Failure(destination, "opening it for writing", errno);
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != bytes.size()) {
        return Failure(destination, noSuchFile);
    }
    if (!WriteAll(file.Get(), bytes)) {
        return Failure(destination, "writing over it", errno);
    }
    if (file_ops::Sync(file.Get()) != 0) {
        return Failure(destination, "forcing it to the disk", errno);
    }
    if (file.Close() != 0) {
        return Failure(destination, "closing it", errno);
    }
    return {true, {}};
}

FileWriteResult CreateFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        made /= part;
        struct stat status {};
        if (::stat(made.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            continue;
        }
        if (file_ops::MakeFolder(made, 0777) != 0 && errno != EEXIST) {
            return {false, "cannot create the folder " + Quoted(made) + ": " +
                               std::generic_category().message(errno)};
        }
        // The new folder's name is durable only once its parent is forced to the disk.
        FileDescriptor parent(file_ops::Open(FolderOf(made), O_RDONLY | O_DIRECTORY));
        if (!parent || file_ops::Sync(parent.Get()) != 0) {
            return {false, "cannot create the folder " + Quoted(made) + ": " +
                               std::generic_category().message(errno)};
        }
    }
    return {true, {}};
}

FileWriteResult CreateEmptyFileIfMissing(const std::filesystem::path& path) {
    // Looked at first, so that the usual case, a file already there, changes nothing.
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0) {
        return {true, {}};
    }
    if (::stat(FolderOf(path).c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return Failure(path, "no folder to create it in");
    }
    FileDescriptor file(file_ops::Open(path, O_WRONLY | O_CREAT | O_EXCL, 0666));
    if (!file && errno != EEXIST) {
        return Failure(path, "creating it", errno);
    }
    if (file.Close() != 0) {
        return Failure(path, "closing it", errno);
    }
    return {true, {}};
}
