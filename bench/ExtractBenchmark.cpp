// Times building the catalogue from the demo kit's ROM (finding the records, decoding them,
// encoding and writing every bitmap and the image table) against writing the same bitmaps with
// our own writer (encoding each and writing it with the durable atomic writer), in one run, both
// into a memory file system; prints the ratio (goal: at most 2).
//
// Build: cmake --build build/default --target extract_benchmark; run build/default/bin/
// extract_benchmark.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FastestTimeReporter.h"
#include "RegisterCommand.h"
#include "catalogue/SizeClasses.h"
#include "codec/TextureRecordScan.h"
#include "demo/DemoKit.h"
#include "dib/IndexedBitmap.h"
#include "extract/CatalogueBuild.h"
#include "extract/CataloguePlan.h"
#include "extract/TextureBitmap.h"
#include "io/AtomicFile.h"

namespace {

namespace fs = std::filesystem;

// A picture as the writer takes it.
struct Picture {
    fs::path path;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> topFirst;
};

std::vector<Picture> Pictures(const std::vector<std::uint8_t>& rom, const fs::path& folder) {
    std::vector<Picture> pictures;
    for (const FoundRecord& found : ScanTextureRecords(rom)) {
        const DecodedTexture& t = found.texture;
        const int sizeClass = MatchSizeClass(t);
        if (sizeClass < 0) {
            continue;
        }
        Picture picture{ClassFolderPath(folder, sizeClass) / TextureBitmapName(found.offset),
                        t.width,
                        t.height,
                        {},
                        std::vector<std::uint8_t>(PixelIndices(t))};
        for (std::uint16_t colour : t.palette) {
            picture.colours.push_back(Rgba5551ToRgb(colour));
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const DemoKitContents kit = BuildDemoKit();
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    const fs::path folder = base / ("mgrom-extract-bench-" + std::to_string(getpid()));
    const std::vector<std::uint8_t>& rom = kit.files.at(0).bytes;
    const std::vector<Picture> pictures = Pictures(rom, folder / "written");
    for (const Picture& picture : pictures) {
        fs::create_directories(picture.path.parent_path());
    }
    std::printf("%zu textures\n", pictures.size());

    Register("extract_demo_kit", [&] {
        return BuildCatalogue(rom, folder / "extracted", true).error == CatalogueBuildError::None;
    });
    Register("write_same_bitmaps", [&] {
        bool ok = true;
        for (const Picture& p : pictures) {
            const auto bytes = EncodeIndexedBitmap(p.width, p.height, p.colours.size() < 16 ? 4 : 8,
                                                   p.colours, p.topFirst);
            ok = WriteFileAtomically(p.path, bytes).ok && ok;
        }
        return ok;
    });
    FastestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    const double extract = reporter.Time("extract_demo_kit");
    const double write = reporter.Time("write_same_bitmaps");
    if (extract > 0.0 && write > 0.0) {
        const double ratio = extract / write;
        std::printf(
            "\nextract_demo_kit %.3f ms, write_same_bitmaps %.3f ms, ratio %.2f (goal 2)%s\n",
            extract, write, ratio, ratio <= 2.0 ? "" : "  NOT MET");
    }
    return 0;
}
