// Times writing and applying IPS and BPS patches between two 12 MiB native-order images that
// differ in 4096 stretches, against an in-memory copy of a 12 MiB image into a new buffer (what
// applying a patch has to produce at least) and a plain memcpy between two existing buffers;
// and the CRC-32 of a 12 MiB image against a memcmp of two such images. All in one run; the
// summary prints each ratio against its goal.
//
// Build and run (from the project root):
//   cmake --build build/default --target patch_formats_benchmark -j2
//       && build/default/bin/patch_formats_benchmark

#include <benchmark/benchmark.h>

#include "FastestTimeReporter.h"
#include "RegisterCommand.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "io/Crc32.h"
#include "io/RomImage.h"
#include "romio/BpsPatch.h"
#include "romio/IpsPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t STRETCHES = 4096;

struct Setup {
    Bytes source;
    Bytes sourceCopy;  // equal bytes in another buffer, for memcmp
    Bytes scratch;     // an existing buffer for the plain memcpy
    Bytes target;      // the source with STRETCHES separate changed stretches
    Bytes ips;
    Bytes bps;
};

Bytes MakeSource() {
    Bytes image(ROM_IMAGE_SIZE);
    for (std::uint32_t p = 0; p < ROM_IMAGE_SIZE; ++p) {
        image[p] = static_cast<std::uint8_t>(((p * 2654435761u) ^ (p >> 7)) >> 13);
    }
    std::memcpy(image.data() + 0x20, "MOONGLASS", 9);
    return image;
}

// Stretches of 16 to 79 changed bytes, 0xBFF apart, as a texture pack's replacements leave them.
Bytes MakeTarget(const Bytes& source) {
    Bytes target = source;
    std::mt19937 rng(9);
    for (std::size_t k = 0; k < STRETCHES; ++k) {
        const std::size_t start = 0x100 + k * 0xBFF + rng() % 64;
        const std::size_t length = 16 + rng() % 64;
        for (std::size_t p = start; p < start + length; ++p) {
            target[p] = static_cast<std::uint8_t>(~target[p]);
        }
    }
    return target;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);

    Setup s;
    s.source = MakeSource();
    s.sourceCopy = s.source;
    s.scratch.assign(ROM_IMAGE_SIZE, 0);
    s.target = MakeTarget(s.source);
    s.ips = MakeIpsPatch(s.source, s.target);
    s.bps = MakeBpsPatch(s.source, s.target);
    if (ApplyIpsPatch(s.ips, s.source).image != s.target ||
        ApplyBpsPatch(s.bps, s.source).image != s.target) {
        std::fprintf(stderr, "setup failed\n");
        return 1;
    }
    std::printf("IPS patch %zu bytes, BPS patch %zu bytes\n", s.ips.size(), s.bps.size());

    Register("copy_12MiB", [&] {
        Bytes copy(s.source.begin(), s.source.end());
        benchmark::DoNotOptimize(copy.data());
        return true;
    });
    Register("memcpy_12MiB", [&] {
        std::memcpy(s.scratch.data(), s.source.data(), ROM_IMAGE_SIZE);
        benchmark::DoNotOptimize(s.scratch.data());
        return true;
    });
    Register("memcmp_12MiB", [&] {
        benchmark::DoNotOptimize(std::memcmp(s.source.data(), s.sourceCopy.data(), ROM_IMAGE_SIZE));
        return true;
    });
    Register("crc32_12MiB", [&] {
        benchmark::DoNotOptimize(Crc32(s.source));
        return true;
    });
    Register("make_ips_4096",
             [&] { return MakeIpsPatch(s.source, s.target).size() == s.ips.size(); });
    Register("apply_ips_4096", [&] { return ApplyIpsPatch(s.ips, s.source).code == IpsCode::Ok; });
    Register("make_bps_4096",
             [&] { return MakeBpsPatch(s.source, s.target).size() == s.bps.size(); });
    Register("apply_bps_4096", [&] { return ApplyBpsPatch(s.bps, s.source).code == BpsCode::Ok; });

    FastestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    struct Row {
        const char* name;
        const char* reference;
        double goal;
    };
    const std::vector<Row> rows = {
        {"make_ips_4096", "copy_12MiB", 2.0},    {"apply_ips_4096", "copy_12MiB", 2.0},
        {"make_bps_4096", "copy_12MiB", 2.0},    {"apply_bps_4096", "copy_12MiB", 2.0},
        {"crc32_12MiB", "memcmp_12MiB", 3.0},    {"make_ips_4096", "memcpy_12MiB", 0.0},
        {"apply_ips_4096", "memcpy_12MiB", 0.0}, {"make_bps_4096", "memcpy_12MiB", 0.0},
        {"apply_bps_4096", "memcpy_12MiB", 0.0},
    };
    std::printf("\n%-16s %9s %-14s %9s %7s %5s\n", "command", "ms", "against", "ms", "ratio",
                "goal");
    bool allMet = true;
    for (const Row& row : rows) {
        const double time = reporter.Time(row.name);
        const double reference = reporter.Time(row.reference);
        if (time <= 0.0 || reference <= 0.0) {
            continue;  // filtered out on the command line
        }
        const double ratio = time / reference;
        const bool met = row.goal <= 0.0 || ratio <= row.goal;
        allMet = allMet && met;
        const std::string goal = row.goal > 0.0 ? std::to_string(row.goal).substr(0, 3) : "-";
        std::printf("%-16s %9.3f %-14s %9.3f %7.2f %5s%s\n", row.name, time, row.reference,
                    reference, ratio, goal.c_str(), met ? "" : "  NOT MET");
    }
    std::printf("%s\n", allMet ? "All goals met." : "Some goals NOT met.");
    return 0;
}
