#include "romio/SharedPatch.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "io/FileBytes.h"
#include "romio/NewRom.h"

namespace {

// Applies an IPS or BPS patch to `working`, a swapped-order image that is turned into native
// order in place (the caller's copy is ours to change); the result is in swapped order.
std::vector<std::uint8_t> ApplyShared(std::span<const std::uint8_t> patch,
                                      std::vector<std::uint8_t>& working,
                                      PatchReadResult& verdict) {
    SwapBytePairs(working);
    std::vector<std::uint8_t> image;
    if (verdict.format == PatchFormat::Ips) {
        verdict.ips = ApplyIpsPatch(patch, working);
        image = std::move(verdict.ips.image);
        verdict.ips.image.clear();
        verdict.error = verdict.ips.code == IpsCode::Ok ? PatchError::None : PatchError::IpsRefused;
    } else {
        verdict.bps = ApplyBpsPatch(patch, working);
        image = std::move(verdict.bps.image);
        verdict.bps.image.clear();
        verdict.error = verdict.bps.code == BpsCode::Ok ? PatchError::None : PatchError::BpsRefused;
    }
    SwapBytePairs(image);
    return image;
}

// Writes the IPS or BPS patch from the working ROM file to `newImage`, a swapped-order image
// that is turned into native order in place.
PatchFileResult WriteShared(PatchFormat format, const std::filesystem::path& oldRom,
                            std::vector<std::uint8_t>& newImage,
                            const std::filesystem::path& patchPath) {
    PatchFileResult result;
    auto oldImage = ReadSwappedRomFile(oldRom, result.error, result.imageLength, result.detail);
    if (!oldImage) {
        return result;
    }
    SwapBytePairs(*oldImage);
    SwapBytePairs(newImage);
    std::vector<std::uint8_t> patch = format == PatchFormat::Ips
                                          ? MakeIpsPatch(*oldImage, newImage)
                                          : MakeBpsPatch(*oldImage, newImage);
    const FileWriteResult written = WriteFileAtomically(patchPath, patch);
    if (!written.ok) {
        result.error = PatchError::CannotWrite;
        result.detail = written.error;
        return result;
    }
    result.bytes = std::move(patch);
    return result;
}

}  // namespace

PatchFormat PatchFormatOfName(const std::filesystem::path& name, PatchFormat otherwise) {
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".pat") {
        return PatchFormat::Custom;
    }
    if (extension == ".ips") {
        return PatchFormat::Ips;
    }
    if (extension == ".bps") {
        return PatchFormat::Bps;
    }
    return otherwise;
}

PatchFileResult WritePatchFileAs(PatchFormat format, const std::filesystem::path& oldRom,
                                 std::span<const std::uint8_t> newSwapped,
                                 const std::filesystem::path& patchPath) {
    if (format == PatchFormat::Custom) {
        return WritePatchFile(oldRom, newSwapped, patchPath);
    }
    PatchFileResult result;
    if (!CheckPatchTargets(oldRom, newSwapped, patchPath, result)) {
        return result;
    }
    std::vector<std::uint8_t> newImage(newSwapped.begin(), newSwapped.end());
    return WriteShared(format, oldRom, newImage, patchPath);
}

PatchFileResult WritePatchFileAs(PatchFormat format, const std::filesystem::path& oldRom,
                                 const std::filesystem::path& newRom,
                                 const std::filesystem::path& patchPath) {
    if (format == PatchFormat::Custom) {
        return WritePatchFile(oldRom, newRom, patchPath);
    }
    PatchFileResult result;
    if (SameFile(patchPath, oldRom) || SameFile(patchPath, newRom)) {
        result.error = PatchError::SameAsInput;
        result.detail = patchPath.string();
        return result;
    }
    auto newImage = ReadSwappedRomFile(newRom, result.error, result.imageLength, result.detail);
    return newImage ? WriteShared(format, oldRom, *newImage, patchPath) : result;
}

PatchReadResult CheckAnyPatch(std::span<const std::uint8_t> patch,
                              std::span<const std::uint8_t> workingSwapped) {
    PatchReadResult verdict;
    verdict.format = DetectPatchFormat(patch);
    if (verdict.format == PatchFormat::Custom) {
        return ReadPatch(patch);
    }
    std::vector<std::uint8_t> working(workingSwapped.begin(), workingSwapped.end());
    ApplyShared(patch, working, verdict);
    return verdict;
}

PatchApplyResult ApplyAnyPatchFile(const std::filesystem::path& workingRom,
                                   const std::filesystem::path& patchPath,
                                   const std::filesystem::path& output) {
    return ApplyPatchFileWith(
        workingRom, patchPath, output,
        [](std::vector<std::uint8_t>&& working, std::span<const std::uint8_t> patch) {
            PatchApplyResult result;
            result.patch.format = DetectPatchFormat(patch);
            if (result.patch.format == PatchFormat::Custom) {
                return ApplyPatch(std::move(working), patch);
            }
            std::vector<std::uint8_t> image = ApplyShared(patch, working, result.patch);
            result.error = result.patch.error;
            if (result.error == PatchError::None) {
                result.image = std::move(image);
            }
            return result;
        });
}

std::optional<std::uint32_t> NativeCrc32OfFile(const std::filesystem::path& swappedRom) {
    auto image = ReadRomImageFile(swappedRom);
    if (!image || image->size() % 2 != 0) {
        return std::nullopt;
    }
    SwapBytePairs(*image);
    return Crc32(*image);
}
