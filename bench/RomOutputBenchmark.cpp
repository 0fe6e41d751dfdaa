// Times Save New ROM (1024 pending replacements), Apply Patch (4096 records) and writing a patch,
// each in the custom, IPS and BPS formats, against a plain durable copy of a 12 MiB file (read
// whole, write whole, force the file and its folder to the disk, as every command's write does) and
// DiffImages of two 12 MiB images against a memcmp of the same buffers, all in one run; then
// measures each command's peak memory above the process's size before it, in a forked child, and
// prints the ratios.
//
// Build and run (from the project root):
//   g++ -std=c++20 -O2 -DNDEBUG -Isrc -Itests src/io/*.cpp src/romio/*.cpp src/catalogue/*.cpp
//       src/codec/*.cpp bench/RomOutputBenchmark.cpp -lbenchmark -pthread -o /tmp/rombench
//       && /tmp/rombench

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#include "FastestTimeReporter.h"
#include "RegisterCommand.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "io/RomImage.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/RomTestSupport.h"
#include "romio/SharedPatch.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t PENDING_COUNT = 1024;
constexpr std::size_t PATCH_RECORDS = 4096;

struct Setup {
    std::filesystem::path folder;
    std::filesystem::path working;
    std::filesystem::path patch;
    std::filesystem::path changedRom;
    Bytes workingBytes;
    Bytes workingCopy;  // equal bytes in another buffer, for memcmp
    Bytes changed;      // the working image with PATCH_RECORDS separate changed stretches
    std::vector<PendingReplacement> pending;
};

// 1024 catalogued replacements spread over the image, of both parities, none overlapping.
std::vector<PendingReplacement> ManyReplacements() {
    std::mt19937 rng(5);
    std::vector<PendingReplacement> pending;
    for (std::uint32_t i = 0; i < PENDING_COUNT; ++i) {
        const std::uint32_t target = 0x10000 + i * 0x2000 + rng() % 2;
        const std::uint32_t length = 0x400 + (i % 7) * 0x100;
        const std::uint32_t source = 0x10000 + rng() % (ROM_IMAGE_SIZE - 0x20000);
        pending.push_back({target, source, length, 'N'});
    }
    return pending;
}

// The working image with PATCH_RECORDS stretches of 16 to 79 changed bytes, 0xC00 apart.
Bytes ManyChanges(const Bytes& working) {
    Bytes changed = working;
    std::mt19937 rng(9);
    for (std::size_t k = 0; k < PATCH_RECORDS; ++k) {
        const std::size_t start = 0x100 + k * 0xBFF + rng() % 64;
        const std::size_t length = 16 + rng() % 64;
        for (std::size_t p = start; p < start + length; ++p) {
            changed[p ^ 1] = static_cast<std::uint8_t>(~changed[p ^ 1]);
        }
    }
    return changed;
}

Bytes ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(static_cast<std::size_t>(std::filesystem::file_size(path)));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteWhole(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The plain copy every command is measured against; durable like every command's output.
void CopyFile(const Setup& s) {
    const Bytes bytes = ReadWhole(s.working);
    const int file = open((s.folder / "copy.rom").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; file >= 0 && done < bytes.size();) {
        const ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    fsync(file);
    close(file);
    const int folder = open(s.folder.c_str(), O_RDONLY | O_DIRECTORY);
    fsync(folder);
    close(folder);
}

bool SaveNewRom(const Setup& s) {
    return SaveNewRomFile(s.working, s.folder / "saved.rom", s.pending, {}).error ==
           NewRomError::None;
}

bool Apply(const Setup& s) {
    return ApplyPatchFile(s.working, s.patch, s.folder / "patched.rom").error == PatchError::None;
}

bool WritePatch(const Setup& s) {
    const PatchFileResult written = WritePatchFile(s.working, s.changedRom, s.folder / "out.pat");
    return written.error == PatchError::None && written.recordCount == PATCH_RECORDS;
}

// The same changes as an IPS or BPS patch, written and applied as the editor does.
bool WritePatchAs(const Setup& s, PatchFormat format, const char* name) {
    return WritePatchFileAs(format, s.working, s.changedRom, s.folder / name).error ==
           PatchError::None;
}

bool ApplyAny(const Setup& s, const char* name) {
    return ApplyAnyPatchFile(s.working, s.folder / name, s.folder / "patched.rom").error ==
           PatchError::None;
}

bool Diff(const Setup& s) {
    const auto records = DiffImages(s.workingBytes, s.changed, ImageOrder::Swapped);
    return records && records->size() == PATCH_RECORDS;
}

int Memcmp(const Setup& s) {
    return std::memcmp(s.workingBytes.data(), s.workingCopy.data(), s.workingBytes.size());
}

// A "Vm...:" figure of /proc/self/status, in KiB.
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) {
            return std::stol(line.substr(length));
        }
    }
    return -1;
}

// Runs `command` in a child whose peak resident size is reset first; returns the peak above the
// size it started at, in MiB, or -1 when that cannot be measured here.
double PeakMiBAbove(const std::function<void()>& command) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        // Memory the benchmarks freed but the allocator kept would hide the command's own
        // needs: give it back, and let every large block come fresh from the system.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const long idle = StatusKiB("VmRSS:");
        command();
        const long peak = StatusKiB("VmHWM:");
        const long delta = idle < 0 || peak < 0 ? -1 : peak - idle;
        (void)!write(pipeEnds[1], &delta, sizeof delta);
        _exit(0);
    }
    close(pipeEnds[1]);
    long delta = -1;
    if (read(pipeEnds[0], &delta, sizeof delta) != static_cast<ssize_t>(sizeof delta)) {
        delta = -1;
    }
    close(pipeEnds[0]);
    waitpid(child, nullptr, 0);
    return delta < 0 ? -1.0 : static_cast<double>(delta) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);

    Setup s;
    s.folder =
        std::filesystem::temp_directory_path() / ("rom-output-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(s.folder);
    s.workingBytes = rom_test::MakeSwappedRom(1);
    s.workingCopy = s.workingBytes;
    s.changed = ManyChanges(s.workingBytes);
    s.pending = ManyReplacements();
    s.working = s.folder / "working.rom";
    WriteWhole(s.working, s.workingBytes);
    const PatchBytesResult patch = MakePatch(s.workingBytes, s.changed, ImageOrder::Swapped);
    s.changedRom = s.folder / "changed.rom";
    WriteWhole(s.changedRom, s.changed);
    s.patch = s.folder / "many.pat";
    WriteWhole(s.patch, patch.bytes);
    if (patch.error != PatchError::None || ReadPatch(patch.bytes).records.size() != PATCH_RECORDS ||
        !SaveNewRom(s) || !Apply(s) || ReadWhole(s.folder / "patched.rom") != s.changed ||
        !WritePatchAs(s, PatchFormat::Ips, "many.ips") ||
        !WritePatchAs(s, PatchFormat::Bps, "many.bps") || !ApplyAny(s, "many.bps") ||
        ReadWhole(s.folder / "patched.rom") != s.changed) {
        std::fprintf(stderr, "setup failed\n");
        return 1;
    }

    Register("copy_file", [&] {
        CopyFile(s);
        return true;
    });
    Register("save_new_rom_1024", [&] { return SaveNewRom(s); });
    Register("apply_patch_4096", [&] { return Apply(s); });
    Register("write_patch_4096", [&] { return WritePatch(s); });
    Register("write_ips_4096", [&] { return WritePatchAs(s, PatchFormat::Ips, "out.ips"); });
    Register("apply_ips_4096", [&] { return ApplyAny(s, "many.ips"); });
    Register("write_bps_4096", [&] { return WritePatchAs(s, PatchFormat::Bps, "out.bps"); });
    Register("apply_bps_4096", [&] { return ApplyAny(s, "many.bps"); });
    Register("memcmp_12MiB", [&] {
        benchmark::DoNotOptimize(Memcmp(s));
        return true;
    });
    Register("diff_images_4096", [&] { return Diff(s); });
    Register("diff_images_equal", [&] {
        const auto records = DiffImages(s.workingBytes, s.workingCopy, ImageOrder::Swapped);
        return records && records->empty();
    });

    FastestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double copy = reporter.Time("copy_file");
    const double memcmpTime = reporter.Time("memcmp_12MiB");
    struct Row {
        const char* name;
        const char* reference;
        double referenceTime;
        double goal;
        std::function<void()> command;
    };
    const std::vector<Row> rows = {
        {"save_new_rom_1024", "copy_file", copy, 1.5, [&] { SaveNewRom(s); }},
        {"apply_patch_4096", "copy_file", copy, 1.3, [&] { Apply(s); }},
        {"write_patch_4096", "copy_file", copy, 2.0, [&] { WritePatch(s); }},
        {"write_ips_4096", "copy_file", copy, 2.0,
         [&] { WritePatchAs(s, PatchFormat::Ips, "out.ips"); }},
        {"apply_ips_4096", "copy_file", copy, 2.0, [&] { ApplyAny(s, "many.ips"); }},
        {"write_bps_4096", "copy_file", copy, 2.0,
         [&] { WritePatchAs(s, PatchFormat::Bps, "out.bps"); }},
        {"apply_bps_4096", "copy_file", copy, 2.0, [&] { ApplyAny(s, "many.bps"); }},
        {"diff_images_4096", "memcmp_12MiB", memcmpTime, 3.0, [&] { Diff(s); }},
        {"diff_images_equal", "memcmp_12MiB", memcmpTime, 3.0,
         [&] {
             benchmark::DoNotOptimize(
                 DiffImages(s.workingBytes, s.workingCopy, ImageOrder::Swapped));
         }},
    };
    std::printf("\n%-20s %10s %-14s %10s %7s %5s %11s\n", "command", "ms", "against", "ms", "ratio",
                "goal", "peak +MiB");
    bool allMet = true;
    for (const Row& row : rows) {
        const double time = reporter.Time(row.name);
        if (time <= 0.0 || row.referenceTime <= 0.0) {
            continue;  // filtered out on the command line
        }
        const double ratio = time / row.referenceTime;
        const double peak = PeakMiBAbove(row.command);
        const bool met = (row.goal <= 0.0 || ratio <= row.goal) && peak >= 0.0 && peak <= 64.0;
        allMet = allMet && met;
        const std::string goal = row.goal > 0.0 ? std::to_string(row.goal).substr(0, 3) : "-";
        std::printf("%-20s %10.2f %-14s %10.2f %7.2f %5s %11.1f%s\n", row.name, time, row.reference,
                    row.referenceTime, ratio, goal.c_str(), peak, met ? "" : "  NOT MET");
    }
    std::printf("copy_file peak +MiB: %.1f\n", PeakMiBAbove([&] { CopyFile(s); }));
    std::printf("%s\n", allMet ? "All goals met." : "Some goals NOT met.");

    std::error_code ignored;
    std::filesystem::remove_all(s.folder, ignored);
    return 0;
}
