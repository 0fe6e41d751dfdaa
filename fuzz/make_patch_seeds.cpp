// Writes the seed patches of fuzz/corpus/ips and fuzz/corpus/bps: a few small patches made by
// our own writers against the fuzz targets' source image. Run from the project root:
//   g++ -std=c++20 -O2 -Isrc -Ifuzz fuzz/make_patch_seeds.cpp src/romio/IpsPatch.cpp
//       src/romio/BpsPatch.cpp src/io/Crc32.cpp src/io/ByteOrder.cpp -o /tmp/make_patch_seeds
//       && /tmp/make_patch_seeds fuzz/corpus

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PatchFuzzSource.h"
#include "romio/BpsPatch.h"
#include "romio/IpsPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_patch_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const Bytes& source = PatchFuzzSource();
    std::vector<std::pair<std::string, Bytes>> targets = {{"identical", source}};
    Bytes bytes = source;
    bytes[0] ^= 0xFF;
    bytes[0x1001] ^= 0x0F;
    bytes[ROM_IMAGE_SIZE - 1] = 0;
    targets.push_back({"bytes", bytes});
    Bytes runs = source;
    for (std::uint32_t p = 0x2000; p < 0x2040; ++p) {
        runs[p] = 0xAB;  // a run among changes
        runs[p + 0x40] = static_cast<std::uint8_t>(~runs[p + 0x40]);
    }
    for (std::uint32_t p = 0x454F40; p < 0x454F50; ++p) {
        runs[p] = 0;  // around the offset that reads "EOF"
    }
    targets.push_back({"runs", runs});
    for (const auto& [name, target] : targets) {
        Write(folder + "/ips/" + name + ".ips", MakeIpsPatch(source, target));
        Write(folder + "/bps/" + name + ".bps", MakeBpsPatch(source, target));
    }
    // The optional truncation size after the end marker.
    Bytes truncated = MakeIpsPatch(source, bytes);
    truncated.insert(truncated.end(), {0xC0, 0x00, 0x00});
    Write(folder + "/ips/truncation.ips", truncated);
    return 0;
}
