// Times the texture compressor against the literal exhaustive compressor it must equal and
// against zlib's compress2 at level 9 on the same bytes, then prints the ratios per input.
//
// Build and run (from the project root):
//   g++ -std=c++20 -O2 -DNDEBUG -Isrc -Itests src/codec/BitString.cpp src/codec/MatchFinder.cpp
//       src/codec/TextureCompressor.cpp bench/CompressBenchmark.cpp -lbenchmark -lz -pthread
//       -o /tmp/bench && /tmp/bench

#include <benchmark/benchmark.h>

#include <zlib.h>
#include "FastestTimeReporter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/ExhaustiveSearchOracle.h"
#include "codec/TextureCompressor.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Input {
    std::string name;
    Bytes data;
    bool withOracle;
};

Bytes RandomBytes(std::size_t n, unsigned seed, unsigned symbols) {
    std::mt19937 rng(seed);
    Bytes data(n);
    for (auto& b : data) {
        b = static_cast<std::uint8_t>(rng() % symbols);
    }
    return data;
}

Bytes Periodic(std::size_t n, std::size_t period) {
    Bytes pattern = RandomBytes(period, static_cast<unsigned>(period), 256);
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) {
        data[i] = pattern[i % period];
    }
    return data;
}

// Runs of `minRun` to `maxRun` equal bytes of `symbols` values.
Bytes Runs(std::size_t n, unsigned seed, unsigned minRun, unsigned maxRun, unsigned symbols) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < n) {
        const auto value = static_cast<std::uint8_t>(rng() % symbols);
        const std::size_t run = minRun + rng() % (maxRun - minRun + 1);
        data.insert(data.end(), std::min(run, n - data.size()), value);
    }
    return data;
}

// Stretches of a two-byte pattern of random length, each broken by one odd byte.
Bytes PeriodicStretches(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < n) {
        const std::size_t stretch = 20 + rng() % 280;
        for (std::size_t i = 0; i < stretch && data.size() < n; ++i) {
            data.push_back(i % 2 == 0 ? 'a' : 'b');
        }
        data.push_back(static_cast<std::uint8_t>('c' + rng() % 3));
    }
    data.resize(n);
    return data;
}

// A picture of smooth gradients, waves and some noise, quantised to `colours` indices and laid
// out as the texture's data bytes (two pixels a byte below 16 colours).
Bytes Picture(int width, int height, int colours, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-0.04, 0.04);
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double v = 0.35 * x / width + 0.25 * y / height +
                       0.2 * std::sin(x * 0.35 + y * 0.1) * std::cos(y * 0.27) + noise(rng);
            v = std::clamp(v + 0.2, 0.0, 0.999);
            pixels.push_back(static_cast<std::uint8_t>(v * colours));
        }
    }
    if (colours >= 16) {
        return pixels;
    }
    Bytes packed(pixels.size() / 2);
    for (std::size_t i = 0; i < packed.size(); ++i) {
        packed[i] = static_cast<std::uint8_t>((pixels[2 * i] << 4) | pixels[2 * i + 1]);
    }
    return packed;
}

std::vector<Input> Inputs() {
    constexpr std::size_t N = 4096;
    std::vector<Input> inputs{
        {"equal-bytes", Bytes(N, 0x55), true},
        {"period-2", Periodic(N, 2), true},
        {"period-3", Periodic(N, 3), true},
        {"period-7", Periodic(N, 7), true},
        {"two-symbols", RandomBytes(N, 1, 2), true},
        {"three-symbols", RandomBytes(N, 2, 3), true},
        {"random", RandomBytes(N, 3, 256), true},
        {"long-runs", Runs(N, 4, 20, 300, 4), true},
        {"short-runs", Runs(N, 5, 1, 12, 3), true},
        {"period-2-stretches", PeriodicStretches(N, 6), true},
    };
    const int sizes[][2] = {{8, 8},   {8, 128}, {16, 16},  {16, 32},  {16, 64}, {32, 32}, {33, 33},
                            {38, 38}, {32, 48}, {32, 64},  {48, 32},  {64, 16}, {64, 17}, {64, 32},
                            {128, 8}, {128, 9}, {128, 11}, {128, 12}, {128, 16}};
    unsigned seed = 10;
    for (const auto& size : sizes) {
        for (int colours : {16, 256}) {
            const std::string name = "tex-" + std::to_string(size[0]) + "x" +
                                     std::to_string(size[1]) + "-" + std::to_string(colours);
            const bool oracle =
                (size[0] == 32 && size[1] == 32) || (size[0] == 128 && size[1] == 16);
            inputs.push_back({name, Picture(size[0], size[1], colours, seed++), oracle});
        }
    }
    return inputs;
}

Bytes Zlib9(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK) {
        return {};
    }
    out.resize(size);
    return out;
}

bool InflatesTo(const Bytes& stream, const Bytes& data) {
    Bytes out(data.size() + 16);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) {
        return false;
    }
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    inflateEnd(&z);
    return ended && out == data;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::vector<Input> inputs = Inputs();

    // Bit-identical output and a stream that inflates, before any timing.
    bool allEqual = true;
    std::map<std::string, std::size_t> ourSize;
    std::map<std::string, std::size_t> zlibSize;
    for (const Input& input : inputs) {
        const Bytes ours = CompressTextureData(input.data);
        const bool same = ours == oracle::CompressData(input.data);
        const bool inflates = InflatesTo(ours, input.data);
        if (!same || !inflates) {
            std::printf("%s: %s\n", input.name.c_str(),
                        !same ? "DIFFERS FROM THE EXHAUSTIVE COMPRESSOR" : "DOES NOT INFLATE");
            allEqual = false;
        }
        ourSize[input.name] = ours.size();
        zlibSize[input.name] = Zlib9(input.data).size();
    }

    for (const Input& input : inputs) {
        const Bytes* data = &input.data;
        benchmark::RegisterBenchmark(("ours/" + input.name).c_str(),
                                     [data](benchmark::State& state) {
                                         for (auto _ : state) {
                                             benchmark::DoNotOptimize(CompressTextureData(*data));
                                         }
                                     })
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.2);
        benchmark::RegisterBenchmark(("zlib9/" + input.name).c_str(),
                                     [data](benchmark::State& state) {
                                         for (auto _ : state) {
                                             benchmark::DoNotOptimize(Zlib9(*data));
                                         }
                                     })
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.2);
        if (input.withOracle) {
            benchmark::RegisterBenchmark(
                ("oracle/" + input.name).c_str(),
                [data](benchmark::State& state) {
                    for (auto _ : state) {
                        benchmark::DoNotOptimize(oracle::CompressData(*data));
                    }
                })
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.2);
        }
    }

    FastestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-22s %6s %9s %9s %9s %10s %11s %8s %8s\n", "input", "bytes", "ours us",
                "zlib9 us", "ours/z9", "oracle us", "oracle/ours", "ours B", "zlib9 B");
    bool allFaster = true;
    for (const Input& input : inputs) {
        const double ours = reporter.Time("ours/" + input.name);
        const double zlib = reporter.Time("zlib9/" + input.name);
        const double slow = reporter.Time("oracle/" + input.name);
        if (ours <= 0.0) {
            continue;  // filtered out on the command line
        }
        std::printf("%-22s %6zu %9.2f ", input.name.c_str(), input.data.size(), ours);
        if (zlib > 0.0) {
            allFaster = allFaster && ours <= zlib;
            std::printf("%9.2f %9.3f ", zlib, ours / zlib);
        } else {
            std::printf("%9s %9s ", "-", "-");
        }
        if (slow > 0.0) {
            std::printf("%10.1f %11.1f", slow, slow / ours);
        } else {
            std::printf("%10s %11s", "-", "-");
        }
        std::printf(" %8zu %8zu\n", ourSize[input.name], zlibSize[input.name]);
    }
    std::printf(
        "\noutput %s the exhaustive compressor's on every input; ours %s zlib level 9 on "
        "every input timed\n",
        allEqual ? "equals" : "DIFFERS FROM", allFaster ? "is no slower than" : "is SLOWER than");
    return allEqual ? 0 : 1;
}
