#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <utility>

// The file system calls through which the core changes files: thin wrappers of the POSIX calls,
// with their return values and errno. They exist so that a test can make any one of them fail
// (ScopedFileFault below); unless a test does, each costs one extra branch.

enum class FileOp {
    Open,        // opening a file or a folder
    Write,       // one write call
    Sync,        // fsync of a file or a folder
    Close,       // closing a file written to
    Link,        // a second name for a file
    Rename,      // renaming over a name
    Remove,      // removing a name
    MakeFolder,  // creating a folder
};

namespace file_ops {

int Open(const std::filesystem::path& path, int flags, mode_t mode = 0);
ssize_t Write(int fd, const void* data, std::size_t size);
int Sync(int fd);
int Close(int fd);
int Link(const std::filesystem::path& existing, const std::filesystem::path& newName);
int Rename(const std::filesystem::path& from, const std::filesystem::path& to);
int Remove(const std::filesystem::path& path);
int MakeFolder(const std::filesystem::path& path, mode_t mode);

}  // namespace file_ops

// A file descriptor, closed when the object goes. Close() reports the result of closing, which
// for a file written to can be the first sign of a lost write; the close when the object goes is
// clean-up, its result ignored and not seen by ScopedFileFault.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes now; 0 or -1 with errno. Closing an empty descriptor succeeds.
    int Close();

private:
    int m_fd = -1;
};

// Test hook: while one of these lives, the `nth` call (counted from 1) of `kind` (of any kind
// when none is given) fails with `error` instead of reaching the system. With nth 0 nothing
// fails and the calls are only counted. Not for use by more than one thread.
class ScopedFileFault {
public:
    explicit ScopedFileFault(int nth = 0, int error = EIO, std::optional<FileOp> kind = {});
    ~ScopedFileFault();
    ScopedFileFault(const ScopedFileFault&) = delete;
    ScopedFileFault& operator=(const ScopedFileFault&) = delete;

    // The calls of the chosen kind made so far, the failed one included.
    int Seen() const { return m_seen; }
    // Whether the chosen call has been failed.
    bool Fired() const { return m_nth > 0 && m_seen >= m_nth; }
    // Counts a call of `kind`; true (with errno set) when it is the one to fail.
    bool Fails(FileOp kind);

private:
    int m_nth;
    int m_error;
    std::optional<FileOp> m_kind;
    int m_seen = 0;
    ScopedFileFault* m_outer;
};
