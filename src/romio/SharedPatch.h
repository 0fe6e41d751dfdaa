#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "romio/Patch.h"
#include "romio/PatchFormat.h"

// The patch writer and Apply Patch for all three formats: the editor's own ".pat" format, and IPS
// and BPS, which players apply with the patchers they already have. IPS and BPS describe the
// change between native-order images, the order ROM dumps are shared in; the files the editor
// keeps and writes stay in swapped order.

// The format a patch file's name asks for by its extension (".pat", ".ips" or ".bps", in any
// case); `otherwise` for any other name.
PatchFormat PatchFormatOfName(const std::filesystem::path& name, PatchFormat otherwise);

// Writes the patch from the swapped-order working ROM file `oldRom` to the swapped-order image
// `newSwapped` in `format`. Custom is WritePatchFile itself; IPS and BPS get the same file checks
// (the output is not the working ROM, the new image is ROM_IMAGE_SIZE bytes, the working ROM is a
// swapped-order image) and are made between the two native-order images. Nothing is written on
// any refusal.
PatchFileResult WritePatchFileAs(PatchFormat format, const std::filesystem::path& oldRom,
                                 std::span<const std::uint8_t> newSwapped,
                                 const std::filesystem::path& patchPath);
// The same between two swapped-order ROM files; the output must be neither of them.
PatchFileResult WritePatchFileAs(PatchFormat format, const std::filesystem::path& oldRom,
                                 const std::filesystem::path& newRom,
                                 const std::filesystem::path& patchPath);

// Judges a patch's bytes, told apart by content (DetectPatchFormat), against the swapped-order
// working image without writing anything: the custom format by ReadPatch, IPS and BPS by applying
// them to the native-order image (IpsRefused and BpsRefused keep the reader's verdict).
PatchReadResult CheckAnyPatch(std::span<const std::uint8_t> patch,
                              std::span<const std::uint8_t> workingSwapped);

// Apply Patch's file work (ApplyPatchFileWith) for the three formats, told apart by content: a
// custom patch with ApplyPatch and all its checks; IPS and BPS applied to the native-order
// working image, the result written in swapped order. Nothing is written on any refusal.
PatchApplyResult ApplyAnyPatchFile(const std::filesystem::path& workingRom,
                                   const std::filesystem::path& patchPath,
                                   const std::filesystem::path& output);

// The CRC32 of a swapped-order image read in native order, as ROM dump lists give it; nullopt
// when the file cannot be read or is not an image of even length.
std::optional<std::uint32_t> NativeCrc32OfFile(const std::filesystem::path& swappedRom);
