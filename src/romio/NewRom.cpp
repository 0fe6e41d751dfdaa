#include "romio/NewRom.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <system_error>
#include <utility>

#include "catalogue/SizeClasses.h"
#include "codec/TextureRecordDecode.h"
#include "codec/UserImage.h"
#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"

namespace {

// Copies native bytes [from, from + count) of swapped image `source` to native positions
// [to, to + count) of swapped image `target`. Both ranges must lie inside their images. When the
// two offsets have the same parity the whole pairs in between keep their places within a pair,
// so they move with one memcpy; only a split pair at either end is copied byte by byte.
void CopyNativeRange(std::span<std::uint8_t> target, std::uint32_t to,
                     std::span<const std::uint8_t> source, std::uint32_t from,
                     std::uint32_t count) {
    if (((to ^ from) & 1u) != 0) {
        for (std::uint32_t k = 0; k < count; ++k) {
            target[(to + k) ^ 1u] = source[(from + k) ^ 1u];
        }
        return;
    }
    std::uint32_t k = 0;
    if ((to & 1u) != 0 && count > 0) {
        target[to ^ 1u] = source[from ^ 1u];
        k = 1;
    }
    const std::uint32_t wholePairs = (count - k) & ~1u;
    if (wholePairs > 0) {
        std::memcpy(target.data() + to + k, source.data() + from + k, wholePairs);
    }
    k += wholePairs;
    if (k < count) {
        target[(to + k) ^ 1u] = source[(from + k) ^ 1u];
    }
}

// Writes `length` native bytes at native position `to` of swapped image `target`: the record's
// bytes, then zeros where the record is shorter. Never reads past the record.
void WriteRecord(std::span<std::uint8_t> target, std::uint32_t to,
                 std::span<const std::uint8_t> record, std::uint32_t length) {
    for (std::uint32_t k = 0; k < length; ++k) {
        target[(to + k) ^ 1u] = k < record.size() ? record[k] : 0;
    }
}

NewRomResult Refusal(NewRomError error, const PendingReplacement& entry) {
    NewRomResult result;
    result.error = error;
    result.entry = entry;
    return result;
}

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

}  // namespace

std::vector<PendingReplacement> CollectPendingReplacements(const SizeClassTable& table) {
    std::vector<PendingReplacement> pending;
    for (int sizeClass = 0; sizeClass < SIZE_CLASS_COUNT; ++sizeClass) {
        const SizeClassRecord& record = table[sizeClass];
        const char flag =
            SizeClasses()[static_cast<std::size_t>(sizeClass)].formatFlag == "G" ? 'G' : 'N';
        for (std::uint32_t slot = 0; slot < MAX_CLASS_ENTRIES; ++slot) {
            const std::uint32_t index = record.replacementIndex[slot];
            if (index == NO_REPLACEMENT) {
                continue;
            }
            const std::uint32_t sourceClass = record.replacementClass[slot];
            const bool known = sourceClass < static_cast<std::uint32_t>(SIZE_CLASS_COUNT) &&
                               index < MAX_CLASS_ENTRIES;
            pending.push_back(
                {record.romOffset[slot],
                 known ? table[static_cast<int>(sourceClass)].romOffset[index] : UNKNOWN_SOURCE,
                 record.replacementSize[slot], flag});
        }
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const PendingReplacement& a, const PendingReplacement& b) {
                         return a.targetOffset < b.targetOffset;
                     });
    return pending;
}

UserRecord MakeUserRecord(const UserImage& image, std::string name) {
    UserRecord user;
    user.result = image.result;
    user.name = std::move(name);
    if (image.result != ConvertResult::Ok) {
        return user;
    }
    user.record = image.record;
    ConvertedTexture& converted = user.converted;
    converted.width = image.width;
    converted.height = image.height;
    const auto entries = static_cast<std::size_t>(std::clamp(image.entries, 0, 256));
    converted.palette.assign(image.texture.palette.begin(),
                             image.texture.palette.begin() + static_cast<std::ptrdiff_t>(entries));
    const std::size_t pixels = std::size_t{image.width} * image.height;
    const std::size_t dataBytes =
        std::min(image.depthMode == DEPTH_MODE_4BIT ? pixels / 2 : pixels, INDEX_BUFFER_BYTES);
    converted.data.resize(dataBytes);
    for (std::size_t i = 0; i < dataBytes; ++i) {
        converted.data[i] =
            static_cast<std::uint8_t>(image.texture.indexWords[i / 4] >> (24 - 8 * (i % 4)));
    }
    return user;
}

UserRecordSource UserRecordsFromCatalogue(const SizeClassTable& table) {
    return [&table](std::uint32_t userIndex, char formatFlag) {
        UserRecord user;
        const SizeClassRecord& users = table[USER_CLASS];
        if (userIndex >= users.entryCount || userIndex >= MAX_CLASS_ENTRIES ||
            users.imagePath[userIndex].empty()) {
            user.result = ConvertResult::CannotOpen;
            user.name = "User bitmap number " + std::to_string(userIndex);
            return user;
        }
        const std::filesystem::path path(users.imagePath[userIndex]);
        return MakeUserRecord(PrepareUserImage(path, formatFlag == 'G' ? "G" : "N"),
                              path.filename().string());
    };
}

namespace {

// What checking the list found: a refusal, or the User records and the bytes of catalogued
// sources that the assembly needs.
struct Plan {
    NewRomResult refusal;  // error None when the list can be written
    std::map<std::pair<std::uint32_t, char>, UserRecord> records;
    std::size_t sourceBytes = 0;
};

// Every check of the build, made before any byte is copied or written; User records are made
// here, each bitmap once per format flag.
Plan Examine(std::span<const std::uint8_t> working, const std::vector<PendingReplacement>& pending,
             const UserRecordSource& userRecords) {
    Plan plan;
    if (working.size() != ROM_IMAGE_SIZE) {
        plan.refusal.error = NewRomError::WorkingWrongSize;
        plan.refusal.workingLength = working.size();
        return plan;
    }
    if (ReadMarker(working) != RomMarker::Swapped) {
        plan.refusal.error = NewRomError::WorkingNotSwapped;
        return plan;
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const PendingReplacement& entry = pending[i];
        const std::uint64_t targetEnd = std::uint64_t{entry.targetOffset} + entry.length;
        if (targetEnd > ROM_IMAGE_SIZE) {
            plan.refusal = Refusal(NewRomError::TargetPastEnd, entry);
            return plan;
        }
        if (entry.source >= USER_IMAGE_LIMIT) {
            if (std::uint64_t{entry.source} + entry.length > ROM_IMAGE_SIZE) {
                plan.refusal = Refusal(NewRomError::SourcePastEnd, entry);
                return plan;
            }
            plan.sourceBytes += entry.length + 2;
        } else {
            const auto key = std::make_pair(entry.source, entry.formatFlag);
            auto found = plan.records.find(key);
            if (found == plan.records.end()) {
                UserRecord made =
                    userRecords ? userRecords(entry.source, entry.formatFlag) : UserRecord{};
                found = plan.records.emplace(key, std::move(made)).first;
            }
            if (found->second.result != ConvertResult::Ok) {
                plan.refusal = Refusal(NewRomError::UserBitmap, entry);
                plan.refusal.convertResult = found->second.result;
                plan.refusal.userName = found->second.name;
                return plan;
            }
        }
        if (i + 1 < pending.size() && targetEnd > pending[i + 1].targetOffset) {
            plan.refusal = Refusal(NewRomError::Overlap, entry);
            plan.refusal.next = pending[i + 1];
            return plan;
        }
    }
    return plan;
}

// Writes an examined list into the working image in place.
void Assemble(std::vector<std::uint8_t>& image, const std::vector<PendingReplacement>& pending,
              const Plan& plan) {
    // The catalogued sources are set aside before any target is written, so that every source
    // is read from the unchanged working image (A by B and B by A). Each is kept as the whole
    // pairs that hold it, starting at an even position, so it keeps its parity.
    std::vector<std::uint8_t> sources;
    sources.reserve(plan.sourceBytes);
    std::vector<std::uint32_t> sourceStart(pending.size(), 0);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const PendingReplacement& entry = pending[i];
        if (entry.source < USER_IMAGE_LIMIT) {
            continue;
        }
        const std::uint32_t first = entry.source & ~1u;
        const std::uint32_t last = (entry.source + entry.length + 1) & ~1u;
        sourceStart[i] = static_cast<std::uint32_t>(sources.size()) + (entry.source - first);
        sources.insert(sources.end(), image.begin() + first, image.begin() + last);
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const PendingReplacement& entry = pending[i];
        if (entry.source >= USER_IMAGE_LIMIT) {
            CopyNativeRange(image, entry.targetOffset, sources, sourceStart[i], entry.length);
        } else {
            WriteRecord(image, entry.targetOffset,
                        plan.records.at({entry.source, entry.formatFlag}).record, entry.length);
        }
    }
}

// Whether the bytes written for a User source read back as what was converted.
bool ReadsBack(std::span<const std::uint8_t> image, const PendingReplacement& entry,
               const UserRecord& user) {
    std::vector<std::uint8_t> written(entry.length);
    for (std::uint32_t k = 0; k < entry.length; ++k) {
        written[k] = image[(entry.targetOffset + k) ^ 1u];
    }
    const RecordDecodeOutcome decoded = DecodeTextureRecord(written);
    const DecodedTexture& texture = decoded.texture;
    const ConvertedTexture& converted = user.converted;
    return decoded.result == RecordDecodeResult::Ok && texture.width == converted.width &&
           texture.height == converted.height && texture.palette == converted.palette &&
           texture.data == converted.data;
}

// The first User replacement whose written bytes do not read back, as a refusal; None if all do.
NewRomResult CheckUserRecords(std::span<const std::uint8_t> image,
                              const std::vector<PendingReplacement>& pending, const Plan& plan) {
    for (const PendingReplacement& entry : pending) {
        if (entry.source >= USER_IMAGE_LIMIT || entry.length == 0) {
            continue;
        }
        const UserRecord& user = plan.records.at({entry.source, entry.formatFlag});
        if (!ReadsBack(image, entry, user)) {
            NewRomResult refusal = Refusal(NewRomError::RecordMismatch, entry);
            refusal.userName = user.name;
            return refusal;
        }
    }
    return {};
}

}  // namespace

NewRomResult BuildNewImage(std::span<const std::uint8_t> workingSwapped,
                           const std::vector<PendingReplacement>& pending,
                           const UserRecordSource& userRecords) {
    Plan plan = Examine(workingSwapped, pending, userRecords);
    if (plan.refusal.error != NewRomError::None) {
        return std::move(plan.refusal);
    }
    NewRomResult result;
    result.image.assign(workingSwapped.begin(), workingSwapped.end());
    Assemble(result.image, pending, plan);
    NewRomResult mismatch = CheckUserRecords(result.image, pending, plan);
    if (mismatch.error != NewRomError::None) {
        return mismatch;
    }
    return result;
}

NewRomResult BuildNewImage(std::vector<std::uint8_t>&& workingSwapped,
                           const std::vector<PendingReplacement>& pending,
                           const UserRecordSource& userRecords) {
    std::vector<std::uint8_t> image = std::move(workingSwapped);
    Plan plan = Examine(image, pending, userRecords);
    if (plan.refusal.error != NewRomError::None) {
        return std::move(plan.refusal);
    }
    Assemble(image, pending, plan);
    NewRomResult mismatch = CheckUserRecords(image, pending, plan);
    if (mismatch.error != NewRomError::None) {
        return mismatch;
    }
    NewRomResult result;
    result.image = std::move(image);
    return result;
}

std::optional<std::vector<std::uint8_t>> ReadRomImageFile(const std::filesystem::path& path,
                                                          std::uint64_t* fileLength) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    if (fileLength != nullptr) {
        *fileLength = length;
    }
    // Enough to show that a longer file is too long.
    return ReadFileBytes(path, std::size_t{ROM_IMAGE_SIZE} + 1);
}

NewRomResult SaveNewRomFile(const std::filesystem::path& workingRom,
                            const std::filesystem::path& output,
                            const std::vector<PendingReplacement>& pending,
                            const UserRecordSource& userRecords) {
    NewRomResult result;
    if (SameFile(workingRom, output)) {
        result.error = NewRomError::SameAsWorking;
        return result;
    }
    std::uint64_t length = 0;
    auto working = ReadRomImageFile(workingRom, &length);
    if (!working) {
        result.error = NewRomError::CannotReadWorking;
        result.detail = "cannot read " + Quoted(workingRom);
        return result;
    }
    result = BuildNewImage(std::move(*working), pending, userRecords);
    if (result.error == NewRomError::WorkingWrongSize) {
        result.workingLength = length;
    }
    if (result.error != NewRomError::None) {
        return result;
    }
    const FileWriteResult written = WriteFileAtomically(output, result.image);
    if (!written.ok) {
        NewRomResult failed;
        failed.error = NewRomError::CannotWrite;
        failed.detail = written.error;
        return failed;
    }
    return result;
}
