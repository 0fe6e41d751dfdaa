// Applies arbitrary bytes as a BPS patch to one fixed native-order image. Random bytes rarely
// carry the right checksums, so each input is also tried with its footer made right: the
// source's CRC-32 and the patch's own; and when that leaves only the target's CRC wrong, with
// that one made right too, which must then be accepted. A refused patch must give no image; an
// accepted one an image of exactly ROM_IMAGE_SIZE bytes, which the patch our writer makes must
// reproduce.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "PatchFuzzSource.h"
#include "io/Crc32.h"
#include "io/LittleEndian.h"
#include "io/RomImage.h"
#include "romio/BpsPatch.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

BpsApplyResult Check(std::span<const std::uint8_t> patch) {
    const std::vector<std::uint8_t>& source = PatchFuzzSource();
    BpsApplyResult applied = ApplyBpsPatch(patch, source);
    if (applied.code != BpsCode::Ok) {
        Require(applied.image.empty());
        return applied;
    }
    Require(applied.image.size() == ROM_IMAGE_SIZE);
    Require(Crc32(applied.image) == LoadU32(patch, patch.size() - 8));
    const std::vector<std::uint8_t> remade = MakeBpsPatch(source, applied.image);
    const BpsApplyResult again = ApplyBpsPatch(remade, source);
    Require(again.code == BpsCode::Ok && again.image == applied.image);
    return applied;
}

// Rewrites the footer's source or target CRC, then the patch's own.
void SetCrc(std::vector<std::uint8_t>& patch, std::size_t fromEnd, std::uint32_t crc) {
    StoreU32(patch, patch.size() - fromEnd, crc);
    StoreU32(patch, patch.size() - 4,
             Crc32(std::span<const std::uint8_t>(patch).first(patch.size() - 4)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check({data, size});
    if (size < 12) {
        return 0;
    }
    std::vector<std::uint8_t> fixed(data, data + size);
    static const std::uint32_t sourceCrc = Crc32(PatchFuzzSource());
    SetCrc(fixed, 12, sourceCrc);
    const BpsApplyResult applied = Check(fixed);
    if (applied.code == BpsCode::TargetChecksumMismatch) {
        SetCrc(fixed, 8, applied.actualCrc);
        Require(Check(fixed).code == BpsCode::Ok);
    }
    return 0;
}
