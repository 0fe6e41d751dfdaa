#pragma once

#include <cstdint>
#include <string>

#include "codec/TextureRecordDecode.h"
#include "extract/CatalogueBuild.h"
#include "extract/CatalogueVerify.h"

// The sentences about textures read from the ROM (building the catalogue, exporting a texture,
// verifying the catalogue) that the window and the tool both show, each written once.
namespace extract_texts {

// Why a record does not decode, as the end of a sentence ("its width or height is 0").
std::string DecodeReason(RecordDecodeResult result, InflateResult inflate);
// Export refused: the record at `offset` does not decode.
std::string NoTextureAt(std::uint32_t offset, const RecordDecodeOutcome& outcome);
// An offset at or past the end of an image of `imageSize` bytes.
std::string OffsetPastImage(std::uint32_t offset, std::size_t imageSize);

// The catalogue build's refusal or failure; empty for None.
std::string BuildRefusal(const CatalogueBuildResult& result);
// What the build found: one line per class with textures ("  08 x 08   3 textures"), then how
// many records matched no class and one line for each record left out, each ending in "\n".
std::string BuildSummary(const CatalogueBuildResult& result);
// The short form for a message box: textures and bitmaps written, records left out.
std::string BuildDone(const CatalogueBuildResult& result);

// One line (without a line break) for a texture that verification found not sound.
std::string VerifyFinding(const VerifyFinding& finding);
// The verdict line: how many textures were checked and how many are not sound.
std::string VerifyVerdict(const VerifyReport& report);

}  // namespace extract_texts
