#include "romio/IpsPatch.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "io/RomImage.h"
#include "romio/DifferenceScan.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t HEADER_SIZE = 5;         // "PATCH"
constexpr std::size_t RECORD_HEADER_SIZE = 5;  // offset (3) and length (2)
constexpr std::size_t RUN_FIELDS_SIZE = 3;     // run length (2) and value (1)
constexpr std::size_t EOF_SIZE = 3;            // "EOF"
constexpr std::size_t TRUNCATION_SIZE = 3;     // optional size after "EOF"
// Unchanged gaps up to a record header's size cost no more inside a record than a new record.
constexpr std::size_t MERGE_GAP = RECORD_HEADER_SIZE;
// A run in the middle of changed bytes saves space as a run record (8 bytes) only when it is
// longer than that record plus the header of the literal record that resumes after it.
constexpr std::size_t MIN_RUN = 14;

constexpr std::uint8_t HEADER_TEXT[] = {'P', 'A', 'T', 'C', 'H'};
constexpr std::uint8_t EOF_TEXT[] = {'E', 'O', 'F'};

std::uint32_t LoadBigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

void AppendBigEndian(Bytes& out, std::uint32_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

class IpsWriter {
public:
    explicit IpsWriter(std::span<const std::uint8_t> target) : m_target(target) {
        m_out.assign(std::begin(HEADER_TEXT), std::end(HEADER_TEXT));
    }

    // Writes the changed stretch [start, end) as literal and run records.
    void Stretch(std::size_t start, std::size_t end) {
        std::size_t literal = start;
        std::size_t p = start;
        while (p < end) {
            std::size_t run = p + 1;
            while (run < end && m_target[run] == m_target[p]) {
                ++run;
            }
            if (run - p >= MIN_RUN) {
                Literal(literal, p);
                Run(p, run);
                literal = run;
            }
            p = run;
        }
        Literal(literal, end);
    }

    Bytes Finish() {
        m_out.insert(m_out.end(), std::begin(EOF_TEXT), std::end(EOF_TEXT));
        return std::move(m_out);
    }

private:
    void Header(std::size_t offset, std::size_t length) {
        AppendBigEndian(m_out, static_cast<std::uint32_t>(offset), 3);
        AppendBigEndian(m_out, static_cast<std::uint32_t>(length), 2);
    }

    void Literal(std::size_t start, std::size_t end) {
        while (start < end) {
            // One byte earlier, rewriting a byte with its own new value, rather than an offset
            // that reads as the end marker.
            if (start == IPS_EOF_OFFSET) {
                --start;
            }
            const std::size_t length = std::min<std::size_t>(end - start, IPS_MAX_RECORD);
            Header(start, length);
            m_out.insert(m_out.end(), m_target.begin() + static_cast<std::ptrdiff_t>(start),
                         m_target.begin() + static_cast<std::ptrdiff_t>(start + length));
            start += length;
        }
    }

    void Run(std::size_t start, std::size_t end) {
        while (start < end) {
            if (start == IPS_EOF_OFFSET) {
                // The run's first byte goes with the byte before it in a literal record.
                Literal(start, start + 1);
                ++start;
                continue;
            }
            const std::size_t length = std::min<std::size_t>(end - start, IPS_MAX_RECORD);
            Header(start, 0);
            AppendBigEndian(m_out, static_cast<std::uint32_t>(length), 2);
            m_out.push_back(m_target[start]);
            start += length;
        }
    }

    std::span<const std::uint8_t> m_target;
    Bytes m_out;
};

// One record of a checked patch: `length` bytes at `offset`, copied from the patch at `data`,
// or for a run record all `value`.
struct Record {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool run = false;
    std::uint8_t value = 0;
    std::size_t data = 0;
};

IpsApplyResult Refuse(IpsCode code, std::size_t patchOffset = 0, std::uint32_t imageOffset = 0) {
    IpsApplyResult result;
    result.code = code;
    result.patchOffset = patchOffset;
    result.imageOffset = imageOffset;
    return result;
}

}  // namespace

// Format notes.
//
// An IPS patch is a five-byte header, a list of records and an end marker:
//
//   "PATCH"
//   records, each:
//     offset   3 bytes, big-endian: where in the image the record's bytes go
//     length   2 bytes, big-endian: how many bytes follow, 1 to 0xFFFF
//     bytes    `length` bytes, copied to offset .. offset + length - 1
//   or, when length is 0, a run record:
//     run      2 bytes, big-endian: how many bytes to fill
//     value    1 byte: the value every one of them gets
//   "EOF"
//   optionally a truncation size: 3 bytes, big-endian, the length of the patched file
//
// The end marker is recognised where the next record's offset would be, so no record can start
// at offset 0x454F46, whose three bytes spell "EOF": the writer starts such a record one byte
// earlier. Offsets are image positions in the order the patch was made in; ours are native.
// Records are applied in file order and may overlap, the later one winning. There is no checksum:
// a patch applies to any image, right or wrong, which is why every structural check is made
// before the first byte changes.

std::vector<std::uint8_t> MakeIpsPatch(std::span<const std::uint8_t> oldNative,
                                       std::span<const std::uint8_t> newNative) {
    if (oldNative.size() != ROM_IMAGE_SIZE || newNative.size() != ROM_IMAGE_SIZE) {
        return {};
    }
    const std::size_t size = ROM_IMAGE_SIZE;
    IpsWriter writer(newNative);
    std::size_t p = NextDifference(oldNative.data(), newNative.data(), size, 0);
    while (p < size) {
        // A stretch runs from one change to the last change followed by a wide enough gap.
        const std::size_t start = p;
        const std::uint8_t* a = oldNative.data();
        const std::uint8_t* b = newNative.data();
        std::size_t end = NextAgreement(a, b, size, p + 1);
        for (;;) {
            p = NextDifference(a, b, size, end);
            if (p >= size || p - end > MERGE_GAP) {
                break;
            }
            end = NextAgreement(a, b, size, p + 1);
        }
        writer.Stretch(start, end);
    }
    return writer.Finish();
}

IpsApplyResult ApplyIpsPatch(std::span<const std::uint8_t> patch,
                             std::span<const std::uint8_t> sourceNative) {
    if (sourceNative.size() != ROM_IMAGE_SIZE) {
        return Refuse(IpsCode::SourceWrongSize);
    }
    if (patch.size() < HEADER_SIZE ||
        !std::equal(std::begin(HEADER_TEXT), std::end(HEADER_TEXT), patch.begin())) {
        return Refuse(IpsCode::NotIps);
    }

    // Every record is checked, and remembered, before the image is touched.
    std::vector<Record> records;
    std::size_t pos = HEADER_SIZE;
    for (;;) {
        const std::size_t left = patch.size() - pos;
        const std::size_t compared = std::min(left, EOF_SIZE);
        if (std::equal(patch.begin() + static_cast<std::ptrdiff_t>(pos),
                       patch.begin() + static_cast<std::ptrdiff_t>(pos + compared), EOF_TEXT)) {
            if (left < EOF_SIZE) {
                return Refuse(IpsCode::MissingEof, pos);  // nothing, or a cut-off "EOF"
            }
            pos += EOF_SIZE;
            break;
        }
        if (left < RECORD_HEADER_SIZE) {
            return Refuse(IpsCode::RecordCutShort, pos);
        }
        Record record;
        record.offset = LoadBigEndian(patch, pos, 3);
        record.length = LoadBigEndian(patch, pos + 3, 2);
        const std::size_t recordStart = pos;
        pos += RECORD_HEADER_SIZE;
        if (record.length == 0) {
            if (patch.size() - pos < RUN_FIELDS_SIZE) {
                return Refuse(IpsCode::RecordCutShort, recordStart, record.offset);
            }
            record.run = true;
            record.length = LoadBigEndian(patch, pos, 2);
            record.value = patch[pos + 2];
            pos += RUN_FIELDS_SIZE;
        } else {
            if (patch.size() - pos < record.length) {
                return Refuse(IpsCode::RecordCutShort, recordStart, record.offset);
            }
            record.data = pos;
            pos += record.length;
        }
        if (std::uint64_t{record.offset} + record.length > ROM_IMAGE_SIZE) {
            return Refuse(IpsCode::RecordOutsideImage, recordStart, record.offset);
        }
        records.push_back(record);
    }
    const std::size_t trailing = patch.size() - pos;
    if (trailing == TRUNCATION_SIZE) {
        const std::uint32_t truncation = LoadBigEndian(patch, pos, 3);
        if (truncation != ROM_IMAGE_SIZE) {
            IpsApplyResult result = Refuse(IpsCode::BadTruncationSize, pos);
            result.truncationSize = truncation;
            return result;
        }
    } else if (trailing != 0) {
        return Refuse(IpsCode::TrailingBytes, pos);
    }

    IpsApplyResult result;
    result.image.assign(sourceNative.begin(), sourceNative.end());
    for (const Record& record : records) {
        std::uint8_t* at = result.image.data() + record.offset;
        if (record.run) {
            std::memset(at, record.value, record.length);
        } else if (record.length > 0) {
            std::memcpy(at, patch.data() + record.data, record.length);
        }
    }
    return result;
}
