// Times the texture record scanner over the demo kit's ROM image and over 12 MiB of random bytes
// against one plain pass over the same buffer (summing it a byte and a word at a time), and the
// inflater against zlib's raw inflater on the streams of texture records (our compressor's
// fixed-code streams and zlib's own dynamic-code streams of the same data), all in one run; then
// prints the ratios of the fastest CPU times. Goals: the scan within 3 times the faster pass, the
// inflater no slower than zlib on our records.
//
// Build and run: cmake --build build/default --target texture_record_benchmark
//   && build/default/bin/texture_record_benchmark --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <zlib.h>
#include "FastestTimeReporter.h"
#include "ZlibRaw.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "codec/Inflate.h"
#include "codec/TextureRecordScan.h"
#include "demo/DemoKit.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Image {
    std::string name;
    Bytes bytes;
    std::size_t expectedRecords;
};

struct Stream {
    std::string name;
    Bytes bytes;
    std::size_t dataSize;
};

std::uint64_t SumBytes(const Bytes& bytes) {
    std::uint64_t sum = 0;
    for (std::uint8_t b : bytes) {
        sum += b;
    }
    return sum;
}

// The same pass eight bytes at a time: the fastest plain read of the buffer.
std::uint64_t SumWords(const Bytes& bytes) {
    std::uint64_t sum = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        sum += word;
    }
    for (; i < bytes.size(); ++i) {
        sum += bytes[i];
    }
    return sum;
}

Bytes ZlibInflate(const Bytes& stream, std::size_t size) {
    Bytes out(size);
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    inflateEnd(&z);
    return ended ? out : Bytes{};
}

Bytes DemoRom() {
    for (const KitFile& file : BuildDemoKit().files) {
        if (file.relativePath == DEMO_ROM_NAME) {
            return file.bytes;
        }
    }
    return {};
}

// The streams of the demo ROM's smallest, middle and largest records, and zlib's of their data.
std::vector<Stream> RecordStreams(const Bytes& rom) {
    std::vector<FoundRecord> found = ScanTextureRecords(rom);
    std::sort(found.begin(), found.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return a.texture.data.size() < b.texture.data.size();
    });
    std::vector<Stream> streams;
    if (found.empty()) {
        return streams;
    }
    for (const std::size_t i : {std::size_t{0}, found.size() / 2, found.size() - 1}) {
        const DecodedTexture& t = found[i].texture;
        const std::size_t header = 6 + 2 * t.palette.size();
        const auto begin = rom.begin() + found[i].offset;
        const std::string name = std::to_string(t.width) + "x" + std::to_string(t.height) + "-" +
                                 std::to_string(t.depth) + "bit";
        streams.push_back({"fixed-" + name,
                           Bytes(begin + static_cast<std::ptrdiff_t>(header),
                                 begin + static_cast<std::ptrdiff_t>(t.recordSize)),
                           t.data.size()});
        streams.push_back(
            {"dynamic-" + name, ZlibRawDeflate(t.data, 9, Z_DEFAULT_STRATEGY), t.data.size()});
    }
    return streams;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const Bytes rom = DemoRom();
    Bytes random(12 << 20);
    std::mt19937 rng(1);
    for (auto& b : random) {
        b = static_cast<std::uint8_t>(rng());
    }
    const std::vector<Image> images{{"demo-rom", rom, 136}, {"random-12MiB", random, 0}};
    const std::vector<Stream> streams = RecordStreams(rom);

    // Right answers before any timing.
    bool right = !rom.empty() && !streams.empty();
    for (const Image& image : images) {
        const std::size_t found = ScanTextureRecords(image.bytes).size();
        std::printf("%s: %zu records found, %zu expected\n", image.name.c_str(), found,
                    image.expectedRecords);
        right = right && found == image.expectedRecords;
    }
    for (const Stream& stream : streams) {
        const InflateOutcome ours = InflateRaw(stream.bytes, stream.dataSize);
        right = right && ours.result == InflateResult::Ok &&
                ours.output == ZlibInflate(stream.bytes, stream.dataSize);
    }

    // Registers `work` under `name`, run until it has taken its time.
    auto add = [](const std::string& name, auto work) {
        benchmark::RegisterBenchmark(name.c_str(), [work](benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(work());
            }
        })->Unit(benchmark::kMicrosecond);
    };
    for (const Image& image : images) {
        const Bytes* bytes = &image.bytes;
        add("scan/" + image.name, [bytes] { return ScanTextureRecords(*bytes); });
        add("sum/" + image.name, [bytes] { return SumBytes(*bytes); });
        add("words/" + image.name, [bytes] { return SumWords(*bytes); });
    }
    for (const Stream& stream : streams) {
        const Stream* s = &stream;
        add("ours/" + stream.name, [s] { return InflateRaw(s->bytes, s->dataSize); });
        add("zlib/" + stream.name, [s] { return ZlibInflate(s->bytes, s->dataSize); });
    }

    // CPU time: the machines this runs on are often busy with other work.
    FastestTimeReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nfastest CPU times of each benchmark\n");
    std::printf("\n%-16s %9s %9s %9s %11s %11s %6s\n", "image", "scan us", "sum us", "words us",
                "scan/sum", "scan/words", "goal");
    bool met = true;
    for (const Image& image : images) {
        const double scan = reporter.Time("scan/" + image.name);
        const double sum = reporter.Time("sum/" + image.name);
        const double words = reporter.Time("words/" + image.name);
        if (scan > 0.0 && sum > 0.0 && words > 0.0) {
            met = met && scan <= 3 * std::min(sum, words);
            std::printf("%-16s %9.1f %9.1f %9.1f %11.2f %11.2f %6s\n", image.name.c_str(), scan,
                        sum, words, scan / sum, scan / words, "<= 3");
        }
    }
    std::printf("\n%-24s %7s %10s %10s %8s %6s\n", "stream", "bytes", "ours us", "zlib us", "ratio",
                "goal");
    for (const Stream& stream : streams) {
        const double ours = reporter.Time("ours/" + stream.name);
        const double zlib = reporter.Time("zlib/" + stream.name);
        if (ours > 0.0 && zlib > 0.0) {
            const bool fixed = stream.name.starts_with("fixed");
            met = met && (!fixed || ours <= zlib);
            std::printf("%-24s %7zu %10.3f %10.3f %8.3f %6s\n", stream.name.c_str(),
                        stream.bytes.size(), ours, zlib, ours / zlib, fixed ? "<= 1" : "-");
        }
    }
    std::printf("\nanswers %s; goals %s\n", right ? "right" : "WRONG", met ? "met" : "NOT MET");
    return right ? 0 : 1;
}
