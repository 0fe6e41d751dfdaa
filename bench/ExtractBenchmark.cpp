// Times building the catalogue from the demo kit's ROM (finding the records, decoding them,
// encoding and writing every bitmap, the description files and the image table, creating the
// folders) against writing the same bitmaps with our own writer (encoding each and writing it
// with the durable atomic writer into folders made beforehand), in one run, both into an empty
// folder of a memory file system each time (emptied outside the timing); prints the ratio
// (goal: at most 2). Each is run five times and its fastest run counts, as other work on the
// machine only ever slows a run down.
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
    const std::vector<Picture> pictures = Pictures(rom, folder / "out");
    std::printf("%zu textures\n", pictures.size());

    // Each run starts from an empty folder; emptying it (and, for the writer, making its
    // folders) is not timed.
    const auto fresh = [&](benchmark::State& state, bool makeFolders) {
        state.PauseTiming();
        std::error_code ignored;
        fs::remove_all(folder / "out", ignored);
        fs::create_directories(folder / "out");
        for (const Picture& picture : pictures) {
            if (makeFolders) {
                fs::create_directories(picture.path.parent_path());
            }
        }
        state.ResumeTiming();
    };
    benchmark::RegisterBenchmark(
        "extract_demo_kit",
        [&](benchmark::State& state) {
            for (auto _ : state) {
                fresh(state, false);
                if (BuildCatalogue(rom, folder / "out", false).error != CatalogueBuildError::None) {
                    state.SkipWithError("the build failed");
                }
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.3)
        ->Repetitions(5)
        ->UseRealTime();
    benchmark::RegisterBenchmark("write_same_bitmaps",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         fresh(state, true);
                                         for (const Picture& p : pictures) {
                                             const auto bytes = EncodeIndexedBitmap(
                                                 p.width, p.height, p.colours.size() < 16 ? 4 : 8,
                                                 p.colours, p.topFirst);
                                             if (!WriteFileAtomically(p.path, bytes).ok) {
                                                 state.SkipWithError("a write failed");
                                             }
                                         }
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.3)
        ->Repetitions(5)
        ->UseRealTime();
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
