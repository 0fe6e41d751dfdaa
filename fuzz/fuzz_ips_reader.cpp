// Applies arbitrary bytes as an IPS patch to one fixed native-order image. A refused patch must
// give no image; an accepted one must give an image of exactly ROM_IMAGE_SIZE bytes, and the
// patch our writer makes from the source to that image must apply back to it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "PatchFuzzSource.h"
#include "io/RomImage.h"
#include "romio/IpsPatch.h"
#include "romio/PatchFormat.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> patch(data, size);
    const std::vector<std::uint8_t>& source = PatchFuzzSource();
    const IpsApplyResult applied = ApplyIpsPatch(patch, source);
    if (applied.code != IpsCode::Ok) {
        Require(applied.image.empty());
        return 0;
    }
    Require(DetectPatchFormat(patch) == PatchFormat::Ips);
    Require(applied.image.size() == ROM_IMAGE_SIZE);
    const std::vector<std::uint8_t> remade = MakeIpsPatch(source, applied.image);
    const IpsApplyResult again = ApplyIpsPatch(remade, source);
    Require(again.code == IpsCode::Ok && again.image == applied.image);
    return 0;
}
