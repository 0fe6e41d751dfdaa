#include "io/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

ScopedFileFault* g_fault = nullptr;

bool Injected(FileOp kind) {
    return g_fault != nullptr && g_fault->Fails(kind);
}

}  // namespace

ScopedFileFault::ScopedFileFault(int nth, int error, std::optional<FileOp> kind)
    : m_nth(nth), m_error(error), m_kind(kind), m_outer(g_fault) {
    g_fault = this;
}

ScopedFileFault::~ScopedFileFault() {
    g_fault = m_outer;
}

bool ScopedFileFault::Fails(FileOp kind) {
    if (m_kind && *m_kind != kind) {
        return false;
    }
    ++m_seen;
    if (m_seen != m_nth) {
        return false;
    }
    errno = m_error;
    return true;
}

namespace file_ops {

int Open(const std::filesystem::path& path, int flags, mode_t mode) {
    if (Injected(FileOp::Open)) {
        return -1;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t Write(int fd, const void* data, std::size_t size) {
    if (Injected(FileOp::Write)) {
        return -1;
    }
    return ::write(fd, data, size);
}

int Sync(int fd) {
    if (Injected(FileOp::Sync)) {
        return -1;
    }
    return ::fsync(fd);
}

int Close(int fd) {
    if (Injected(FileOp::Close)) {
        ::close(fd);  // the descriptor must still go
        return -1;
    }
    return ::close(fd);
}

int Link(const std::filesystem::path& existing, const std::filesystem::path& newName) {
    return Injected(FileOp::Link) ? -1 : ::link(existing.c_str(), newName.c_str());
}

int Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Injected(FileOp::Rename) ? -1 : std::rename(from.c_str(), to.c_str());
}

int Remove(const std::filesystem::path& path) {
    return Injected(FileOp::Remove) ? -1 : ::unlink(path.c_str());
}

int MakeFolder(const std::filesystem::path& path, mode_t mode) {
    return Injected(FileOp::MakeFolder) ? -1 : ::mkdir(path.c_str(), mode);
}

}  // namespace file_ops

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int FileDescriptor::Close() {
    if (m_fd < 0) {
        return 0;
    }
    const int fd = m_fd;
    m_fd = -1;
    return file_ops::Close(fd);
}
