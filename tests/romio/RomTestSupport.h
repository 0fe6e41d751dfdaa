#pragma once

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

// Test images and a way to make writes fail, shared by the ROM output tests.

namespace rom_test {

using Bytes = std::vector<std::uint8_t>;

// A native-order image of ROM_IMAGE_SIZE bytes with the header the editor accepts. Byte p
// depends on the position and the seed, so that a byte taken from the wrong place or the wrong
// half of a pair shows.
inline Bytes MakeNativeRom(std::uint32_t seed) {
    Bytes image(ROM_IMAGE_SIZE);
    for (std::uint32_t p = 0; p < ROM_IMAGE_SIZE; ++p) {
        image[p] =
            static_cast<std::uint8_t>(((p * 2654435761u) ^ (p >> 7) ^ (seed * 40503u)) >> 13);
    }
    std::copy_n("MOONGLASS           ", 20, image.begin() + 0x20);
    image[0x3E] = 0x45;  // country code
    image[0x3F] = 0x00;  // version
    return image;
}

inline Bytes Swapped(Bytes image) {
    SwapBytePairs(image);
    return image;
}

// The same image in swapped order, as working ROMs are kept.
inline Bytes MakeSwappedRom(std::uint32_t seed) {
    return Swapped(MakeNativeRom(seed));
}

// Names in a folder, sorted, so that a temporary file left behind shows.
inline std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process whose files may not grow beyond `limitBytes` (writes past it
// fail with EFBIG, as on a full disk). Returns `body`'s result as the child's exit status, or -1
// when it did not exit normally.
inline int RunWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        _exit(setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 100 : body());
    }
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    return exited ? WEXITSTATUS(status) : -1;
}

}  // namespace rom_test
