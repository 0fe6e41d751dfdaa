#pragma once

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "io/ByteOrder.h"
#include "io/RomImage.h"

// Test images and ways to make writes fail, shared by the ROM output tests.

namespace rom_test {

using Bytes = std::vector<std::uint8_t>;

// Native byte p of the test images: depends on the position and the seed, so that a byte taken
// from the wrong place or the wrong half of a pair shows.
inline std::uint8_t PatternByte(std::uint32_t p, std::uint32_t seed) {
    const std::uint32_t mixed = (p * 2654435761u) ^ (p >> 7) ^ (seed * 40503u);
    return static_cast<std::uint8_t>(mixed >> 13);
}

// A native-order image of ROM_IMAGE_SIZE bytes with the header the editor accepts.
inline Bytes MakeNativeRom(std::uint32_t seed) {
    Bytes image(ROM_IMAGE_SIZE);
    for (std::uint32_t p = 0; p < ROM_IMAGE_SIZE; ++p) {
        image[p] = PatternByte(p, seed);
    }
    const char name[] = "MOONGLASS           ";
    for (std::uint32_t i = 0; i < 20; ++i) {
        image[0x20 + i] = static_cast<std::uint8_t>(name[i]);
    }
    image[0x3E] = 0x45;  // country code
    image[0x3F] = 0x00;  // version
    return image;
}

// The same image in swapped order, as working ROMs are kept.
inline Bytes MakeSwappedRom(std::uint32_t seed) {
    Bytes image = MakeNativeRom(seed);
    SwapBytePairs(image);
    return image;
}

inline Bytes Swapped(Bytes image) {
    SwapBytePairs(image);
    return image;
}

// Names in a folder, so that a temporary file left behind shows.
inline std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process whose files may not grow beyond `limitBytes` (writes past it
// fail with EFBIG, as on a full disk). Returns the child's exit status, or -1 when it did not
// exit normally. `body`'s return value is the exit status.
inline int RunWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            _exit(100);
        }
        _exit(body());
    }
    if (child < 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// A small memory file system mounted on a folder for the object's lifetime, to fill it up.
// Mounting needs the privilege to do so; `Mounted()` says whether it worked.
class SmallFileSystem {
public:
    SmallFileSystem(const std::filesystem::path& folder, const std::string& size)
        : m_folder(folder) {
        std::filesystem::create_directories(folder);
        const std::string options = "size=" + size;
        m_mounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (m_mounted) {
            umount2(m_folder.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return m_mounted; }

private:
    std::filesystem::path m_folder;
    bool m_mounted = false;
};

}  // namespace rom_test
