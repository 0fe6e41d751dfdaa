#include "romio/BpsPatch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>

#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "io/LittleEndian.h"
#include "io/RomImage.h"
#include "romio/DifferenceScan.h"

// The carry-less multiply where the processor has it, for the products of the CRC difference.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define MGROM_BPS_CLMUL 1
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t HEADER_TEXT[] = {'B', 'P', 'S', '1'};
constexpr std::size_t HEADER_SIZE = 4;
constexpr std::size_t FOOTER_SIZE = 12;  // source, target and patch CRC-32
// The shortest patch: header, three one-byte numbers, footer.
constexpr std::size_t MIN_PATCH_SIZE = HEADER_SIZE + 3 + FOOTER_SIZE;

enum Action : std::uint64_t { SOURCE_READ = 0, TARGET_READ = 1, SOURCE_COPY = 2, TARGET_COPY = 3 };

// An unchanged gap this short costs less carried in a TargetRead than as a SourceRead followed
// by a new TargetRead header.
constexpr std::size_t MERGE_GAP = 3;
// A run of one value this long saves space as its first byte plus a TargetCopy of the rest, even
// when the TargetRead it interrupts needs a new header afterwards.
constexpr std::size_t MIN_RUN = 12;

void AppendNumber(Bytes& out, std::uint64_t value) {
    for (;;) {
        const std::uint8_t low = value & 0x7F;
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

void AppendAction(Bytes& out, Action action, std::uint64_t length) {
    AppendNumber(out, (length - 1) << 2 | action);
}

// A relative offset move: magnitude shifted up, sign in bit 0.
void AppendRelative(Bytes& out, std::uint64_t from, std::uint64_t to) {
    AppendNumber(out, to >= from ? (to - from) << 1 : (from - to) << 1 | 1);
}

class BpsWriter {
public:
    explicit BpsWriter(std::span<const std::uint8_t> target) : m_target(target) {
        m_out.assign(std::begin(HEADER_TEXT), std::end(HEADER_TEXT));
        AppendNumber(m_out, target.size());  // source size, equal by contract
        AppendNumber(m_out, target.size());
        AppendNumber(m_out, 0);  // no metadata
    }

    void Unchanged(std::size_t length) {
        if (length > 0) {
            AppendAction(m_out, SOURCE_READ, length);
            m_written += length;
        }
    }

    // Writes the changed stretch starting where the output stands and ending at `end`.
    void Changed(std::size_t end) {
        std::size_t literal = m_written;
        std::size_t p = m_written;
        while (p < end) {
            std::size_t run = p + 1;
            while (run < end && m_target[run] == m_target[p]) {
                ++run;
            }
            if (run - p >= MIN_RUN) {
                Literal(literal, p + 1);
                // The rest of the run repeats the byte just written, one behind itself.
                AppendAction(m_out, TARGET_COPY, run - p - 1);
                AppendRelative(m_out, m_targetRelative, p);
                m_targetRelative = run - 1;
                m_written = run;
                literal = run;
            }
            p = run;
        }
        Literal(literal, end);
    }

    Bytes Finish(std::uint32_t sourceCrc, std::uint32_t targetCrc) {
        AppendU32(m_out, sourceCrc);
        AppendU32(m_out, targetCrc);
        AppendU32(m_out, Crc32(m_out));
        return std::move(m_out);
    }

private:
    void Literal(std::size_t start, std::size_t end) {
        if (start < end) {
            AppendAction(m_out, TARGET_READ, end - start);
            m_out.insert(m_out.end(), m_target.begin() + static_cast<std::ptrdiff_t>(start),
                         m_target.begin() + static_cast<std::ptrdiff_t>(end));
            m_written = end;
        }
    }

    std::span<const std::uint8_t> m_target;
    Bytes m_out;
    std::size_t m_written = 0;           // target bytes the actions so far produce
    std::uint64_t m_targetRelative = 0;  // where the next TargetCopy offset counts from
};

// Reads the patch front to back; every read stays before the footer.
class PatchReader {
public:
    PatchReader(std::span<const std::uint8_t> patch, std::size_t start)
        : m_patch(patch), m_pos(start), m_end(patch.size() - FOOTER_SIZE) {}

    std::size_t Position() const { return m_pos; }
    std::size_t Left() const { return m_end - m_pos; }
    bool AtEnd() const { return m_pos == m_end; }
    void Skip(std::size_t count) { m_pos += count; }

    // Decodes one number; Ok, NumberCutShort or NumberOverflow.
    BpsCode Number(std::uint64_t& value) {
        constexpr std::uint64_t MAX = std::numeric_limits<std::uint64_t>::max();
        std::uint64_t data = 0;
        std::uint64_t shift = 1;
        for (;;) {
            if (m_pos == m_end) {
                return BpsCode::NumberCutShort;
            }
            const std::uint8_t byte = m_patch[m_pos++];
            const std::uint64_t part = byte & 0x7F;
            if (part != 0 && shift > (MAX - data) / part) {
                return BpsCode::NumberOverflow;
            }
            data += part * shift;
            if ((byte & 0x80) != 0) {
                value = data;
                return BpsCode::Ok;
            }
            if (shift > MAX >> 7) {
                return BpsCode::NumberOverflow;
            }
            shift <<= 7;
            if (data > MAX - shift) {
                return BpsCode::NumberOverflow;
            }
            data += shift;
        }
    }

private:
    std::span<const std::uint8_t> m_patch;
    std::size_t m_pos;
    std::size_t m_end;
};

BpsApplyResult Refuse(BpsCode code, std::uint64_t patchOffset) {
    BpsApplyResult result;
    result.code = code;
    result.patchOffset = patchOffset;
    return result;
}

BpsApplyResult ChecksumMismatch(BpsCode code, std::uint64_t at, std::uint32_t expected,
                                std::uint32_t actual) {
    BpsApplyResult result = Refuse(code, at);
    result.expectedCrc = expected;
    result.actualCrc = actual;
    return result;
}

// Moves a relative offset within [0, limit] by an encoded signed amount; false when it would
// leave that range.
bool MoveRelative(std::uint64_t& offset, std::uint64_t encoded, std::uint64_t limit) {
    const std::uint64_t magnitude = encoded >> 1;
    if ((encoded & 1) != 0) {
        if (magnitude > offset) {
            return false;
        }
        offset -= magnitude;
    } else {
        if (magnitude > limit - offset) {
            return false;
        }
        offset += magnitude;
    }
    return true;
}

// Step of the source CRC that follows the writer's scan: small enough that the bytes just compared
// are still in cache when the CRC takes them in, rather than read again from memory.
constexpr std::size_t CRC_STEP = 64 * 1024;

// The CRC-32 of a buffer, brought up to a position in steps of about CRC_STEP.
class FollowingCrc {
public:
    explicit FollowingCrc(const std::uint8_t* bytes) : m_bytes(bytes) {}

    // Takes in the bytes up to `end` once CRC_STEP bytes are waiting; an `end` already passed
    // (the scan may have looked ahead) changes nothing.
    void Follow(std::size_t end) {
        if (end >= m_at + CRC_STEP) {
            Finish(end);
        }
    }
    std::uint32_t Finish(std::size_t end) {
        m_crc = Crc32Update(m_crc, {m_bytes + m_at, end - m_at});
        m_at = end;
        return m_crc;
    }

private:
    const std::uint8_t* m_bytes;
    std::size_t m_at = 0;
    std::uint32_t m_crc = 0;
};

constexpr std::uint32_t CRC_POLYNOMIAL = 0xEDB88320u;  // bit-reversed, x^0 the top bit

#ifdef MGROM_BPS_CLMUL
// The CRC register's change for each byte value followed by nothing: a step of x^8.
constexpr std::array<std::uint32_t, 256> BYTE_STEP = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t c = b;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c >> 1) ^ (CRC_POLYNOMIAL & (0u - (c & 1)));
        }
        table[b] = c;
    }
    return table;
}();

// The 63-bit product, moved up one bit, holds x^0..x^31 in its high half as a register does and
// x^32..x^63 in its low half, which four zero-byte steps bring down mod P.
__attribute__((target("pclmul,sse4.1"))) std::uint32_t ClmulMultiply(std::uint32_t a,
                                                                     std::uint32_t b) {
    const __m128i product = _mm_clmulepi64_si128(_mm_cvtsi32_si128(static_cast<int>(a)),
                                                 _mm_cvtsi32_si128(static_cast<int>(b)), 0);
    const std::uint64_t wide = static_cast<std::uint64_t>(_mm_cvtsi128_si64(product)) << 1;
    std::uint32_t low = static_cast<std::uint32_t>(wide);
    for (int i = 0; i < 4; ++i) {
        low = (low >> 8) ^ BYTE_STEP[low & 0xFF];
    }
    return static_cast<std::uint32_t>(wide >> 32) ^ low;
}
#endif

// The CRC register without presetting or final inversion is linear: for buffers of one length,
// CRC(a) ^ CRC(b) is the bare register of a ^ b. Source and target agree outside their changed
// stretches, so the target's CRC is the source's plus a register that only the changed bytes
// feed and that the zeros between them merely multiply by x^(8n): one full CRC pass, not two.
class DifferenceCrc {
public:
    // Takes in the difference of `length` bytes at `at` (at or after the last ones taken).
    void Add(std::size_t at, const std::uint8_t* source, const std::uint8_t* target,
             std::size_t length) {
        Skip(at);
        // The XOR a block at a time on the stack, so that each byte is taken in once.
        std::uint8_t block[512];
        for (std::size_t done = 0; done < length;) {
            const std::size_t step = std::min(length - done, sizeof block);
            std::size_t i = 0;
            for (; i + 8 <= step; i += 8) {
                std::uint64_t x;
                std::uint64_t y;
                std::memcpy(&x, source + done + i, 8);
                std::memcpy(&y, target + done + i, 8);
                x ^= y;
                std::memcpy(block + i, &x, 8);
            }
            for (; i < step; ++i) {
                block[i] = source[done + i] ^ target[done + i];
            }
            m_register = ~Crc32Update(~m_register, {block, step});
            done += step;
        }
        m_at = at + length;
    }
    // The register over the whole buffers of `size` bytes.
    std::uint32_t Finish(std::size_t size) {
        Skip(size);
        return m_register;
    }

private:
    static constexpr std::size_t SPAN = 4096;

    // Powers x^(8n) mod P (bit-reversed, x^0 the top bit) for n below SPAN, and x^(8 SPAN q) for
    // q below SPAN, so that any zero stretch of an image costs at most two multiplications.
    struct Powers {
        std::uint32_t near[SPAN];
        std::uint32_t far[SPAN];
        Powers() {
            const std::uint8_t zero = 0;
            std::uint32_t power = 1u << 31;
            for (std::size_t n = 0; n < SPAN; ++n) {
                near[n] = power;
                power = ~Crc32Update(~power, {&zero, 1});  // times x^8
            }
            far[0] = 1u << 31;
            for (std::size_t q = 1; q < SPAN; ++q) {
                far[q] = Multiply(far[q - 1], power);
            }
        }
    };

    // Product of two bit-reversed polynomials mod P.
    static std::uint32_t Multiply(std::uint32_t a, std::uint32_t b) {
#ifdef MGROM_BPS_CLMUL
        static const bool clmul = __builtin_cpu_supports("pclmul");
        if (clmul) {
            return ClmulMultiply(a, b);
        }
#endif
        std::uint32_t product = 0;
        for (std::uint32_t bit = 1u << 31; bit != 0; bit >>= 1) {
            product ^= (a & bit) != 0 ? b : 0;
            b = (b >> 1) ^ (CRC_POLYNOMIAL & (0u - (b & 1)));
        }
        return product;
    }

    // Moves the register over zeros up to `at`.
    void Skip(std::size_t at) {
        static const Powers powers;
        std::size_t zeros = at - m_at;
        if (zeros == 0 || m_register == 0) {
            m_at = at;
            return;
        }
        std::uint32_t power = powers.near[zeros % SPAN];
        for (zeros /= SPAN; zeros > 0; zeros -= std::min(zeros, SPAN - 1)) {
            power = Multiply(power, powers.far[std::min(zeros, SPAN - 1)]);
        }
        m_register = Multiply(m_register, power);
        m_at = at;
    }

    std::size_t m_at = 0;
    std::uint32_t m_register = 0;
};

// Builds the target over a copy of the whole source, made in one piece as fast as memory allows;
// SourceRead actions then leave it as it is and the others overwrite their stretch in order. The
// source's CRC-32 is taken in one pass, the target's from the stretches overwritten.
class TargetBuilder {
public:
    explicit TargetBuilder(std::span<const std::uint8_t> source)
        : m_source(source), m_target(source.begin(), source.end()) {}

    // Writes `length` bytes from `from`, outside the target, at target position `at`. The bytes
    // replaced are still the source's, and are read here where the write needs their cache lines
    // anyway, rather than from the source's own.
    void Write(std::uint64_t at, const std::uint8_t* from, std::uint64_t length) {
        m_difference.Add(at, m_target.data() + at, from, length);
        std::memcpy(m_target.data() + at, from, length);
    }

    // Copies `length` bytes from target position `from`, before `at`, to `at`, byte by byte
    // where they overlap, so that each byte read may be one just written (a run).
    void WriteFromTarget(std::uint64_t at, std::uint64_t from, std::uint64_t length) {
        std::uint8_t* bytes = m_target.data();
        if (at - from >= length) {
            Write(at, bytes + from, length);
            return;
        }
        std::uint8_t replaced[512];
        for (std::uint64_t done = 0; done < length;) {
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(length - done, sizeof replaced));
            std::memcpy(replaced, bytes + at + done, step);
            for (std::size_t i = 0; i < step; ++i) {
                bytes[at + done + i] = bytes[from + done + i];
            }
            m_difference.Add(at + done, replaced, bytes + at + done, step);
            done += step;
        }
    }

    // The target, with the source's CRC and its own.
    Bytes Finish(std::uint32_t& sourceCrc, std::uint32_t& targetCrc) {
        sourceCrc = Crc32(m_source);
        targetCrc = sourceCrc ^ m_difference.Finish(m_target.size());
        return std::move(m_target);
    }

private:
    std::span<const std::uint8_t> m_source;
    Bytes m_target;
    DifferenceCrc m_difference;
};

// Runs the actions from `start` to the footer: with `builder` null only checking them (the
// first fault is returned), otherwise building the target, whose positions are settled in order,
// so that a TargetCopy only ever reads final bytes. Both runs take one path.
BpsApplyResult RunActions(std::span<const std::uint8_t> patch, std::size_t start,
                          std::span<const std::uint8_t> source, TargetBuilder* builder) {
    PatchReader reader(patch, start);
    std::uint64_t at = start;
    const std::uint64_t size = ROM_IMAGE_SIZE;
    std::uint64_t output = 0;
    std::uint64_t sourceRelative = 0;
    std::uint64_t targetRelative = 0;
    while (!reader.AtEnd()) {
        at = reader.Position();
        std::uint64_t command = 0;
        if (const BpsCode code = reader.Number(command); code != BpsCode::Ok) {
            return Refuse(code, at);
        }
        const std::uint64_t length = (command >> 2) + 1;
        if (length > size - output) {
            return Refuse(BpsCode::PastTargetEnd, at);
        }
        switch (command & 3) {
            case SOURCE_READ:
                // Inside the target is inside the source, both `size` bytes; the builder's copy of
                // the source already holds these bytes.
                break;
            case TARGET_READ:
                if (length > reader.Left()) {
                    return Refuse(BpsCode::PastPatchEnd, at);
                }
                if (builder != nullptr) {
                    builder->Write(output, patch.data() + reader.Position(), length);
                }
                reader.Skip(length);
                break;
            case SOURCE_COPY: {
                std::uint64_t move = 0;
                if (const BpsCode code = reader.Number(move); code != BpsCode::Ok) {
                    return Refuse(code, at);
                }
                if (!MoveRelative(sourceRelative, move, size) || length > size - sourceRelative) {
                    return Refuse(BpsCode::PastSourceEnd, at);
                }
                if (builder != nullptr) {
                    builder->Write(output, source.data() + sourceRelative, length);
                }
                sourceRelative += length;
                break;
            }
            case TARGET_COPY: {
                std::uint64_t move = 0;
                if (const BpsCode code = reader.Number(move); code != BpsCode::Ok) {
                    return Refuse(code, at);
                }
                if (!MoveRelative(targetRelative, move, size) || targetRelative >= output) {
                    return Refuse(BpsCode::TargetCopyNotWritten, at);
                }
                if (builder != nullptr) {
                    builder->WriteFromTarget(output, targetRelative, length);
                }
                targetRelative += length;
                break;
            }
        }
        output += length;
    }
    if (output != size) {
        return Refuse(BpsCode::TargetNotFilled, reader.Position());
    }
    return {};
}

}  // namespace

// Format notes.
//
// A BPS patch is a header, a list of actions that build the target from the front, and three
// checksums:
//
//   "BPS1"
//   number   source size
//   number   target size
//   number   metadata size, then that many bytes of metadata (ours is empty)
//   actions, until 12 bytes before the end of the patch:
//     number   (length - 1) << 2 | kind: each action writes `length` target bytes at the output
//              position, which then moves on by `length`
//     kind 0, SourceRead:  the source's bytes at the same position as the output
//     kind 1, TargetRead:  `length` bytes that follow in the patch
//     kind 2, SourceCopy:  a number d; the source offset moves by d >> 1, backwards when d & 1,
//                          then `length` source bytes are copied from it and it moves past them
//     kind 3, TargetCopy:  likewise with the target offset, copying byte by byte from the target
//                          already written, so a copy may overlap its own output (a run)
//   CRC-32 of the source, of the target, and of the patch up to this last field; each 4 bytes,
//   little-endian
//
// Numbers take 7 bits per byte, low bits first; a set high bit marks the last byte. Each byte
// that is not the last adds one to the next place, so every value has exactly one encoding:
// decoding adds (byte & 0x7F) * shift, then if it goes on, shift <<= 7 and adds shift. Both
// relative offsets start at 0 and persist between actions. A patch must fill the target
// exactly. The CRCs tie the patch to one source: a wrong ROM, or the right ROM in the other byte
// order, is refused rather than patched into garbage.

std::vector<std::uint8_t> MakeBpsPatch(std::span<const std::uint8_t> sourceNative,
                                       std::span<const std::uint8_t> targetNative) {
    if (sourceNative.size() != ROM_IMAGE_SIZE || targetNative.size() != ROM_IMAGE_SIZE) {
        return {};
    }
    const std::size_t size = ROM_IMAGE_SIZE;
    const std::uint8_t* source = sourceNative.data();
    const std::uint8_t* target = targetNative.data();
    BpsWriter writer(targetNative);
    FollowingCrc sourceCrc(source);
    DifferenceCrc difference;
    // The next change at or after `from`, a window at a time so that the CRC follows the scan.
    auto nextDifference = [&](std::size_t from) {
        for (;;) {
            const std::size_t limit = std::min(size, from + CRC_STEP);
            const std::size_t found = NextDifference(source, target, limit, from);
            if (found < limit || limit == size) {
                return found;
            }
            sourceCrc.Follow(limit);
            from = limit;
        }
    };
    std::size_t written = 0;
    // The scan that ends a stretch finds the next one's start: every byte is compared once.
    for (std::size_t p = nextDifference(0); p < size;) {
        writer.Unchanged(p - written);
        const std::size_t start = p;
        // A changed stretch runs to the last change followed by a wide enough gap.
        std::size_t end = NextAgreement(source, target, size, p + 1);
        for (;;) {
            p = nextDifference(end);
            if (p >= size || p - end > MERGE_GAP) {
                break;
            }
            end = NextAgreement(source, target, size, p + 1);
        }
        writer.Changed(end);
        difference.Add(start, source + start, target + start, end - start);
        written = end;
        sourceCrc.Follow(written);
    }
    writer.Unchanged(size - written);
    const std::uint32_t sourceFull = sourceCrc.Finish(size);
    return writer.Finish(sourceFull, sourceFull ^ difference.Finish(size));
}

BpsApplyResult ApplyBpsPatch(std::span<const std::uint8_t> patch,
                             std::span<const std::uint8_t> sourceNative) {
    if (sourceNative.size() != ROM_IMAGE_SIZE) {
        return Refuse(BpsCode::SourceWrongSize, 0);
    }
    if (patch.size() < HEADER_SIZE ||
        !std::equal(std::begin(HEADER_TEXT), std::end(HEADER_TEXT), patch.begin())) {
        return Refuse(BpsCode::NotBps, 0);
    }
    if (patch.size() < MIN_PATCH_SIZE) {
        return Refuse(BpsCode::TooShort, 0);
    }
    PatchReader reader(patch, HEADER_SIZE);
    // Source size, target size, metadata size; only the first two have one right value.
    const BpsCode wrongSizes[] = {BpsCode::WrongSourceSize, BpsCode::WrongTargetSize, BpsCode::Ok};
    std::uint64_t at = reader.Position();
    std::uint64_t value = 0;
    for (const BpsCode wrongSize : wrongSizes) {
        at = reader.Position();
        if (const BpsCode code = reader.Number(value); code != BpsCode::Ok) {
            return Refuse(code, at);
        }
        if (wrongSize != BpsCode::Ok && value != ROM_IMAGE_SIZE) {
            BpsApplyResult result = Refuse(wrongSize, at);
            result.size = value;
            return result;
        }
    }
    if (value > reader.Left()) {
        return Refuse(BpsCode::MetadataCutShort, at);
    }
    reader.Skip(static_cast<std::size_t>(value));

    // The actions are checked in full before the target is built; random or damaged bytes
    // then cost no 12 MiB copy.
    const std::size_t actions = reader.Position();
    if (BpsApplyResult fault = RunActions(patch, actions, sourceNative, nullptr);
        fault.code != BpsCode::Ok) {
        return fault;
    }

    const std::size_t footer = patch.size() - FOOTER_SIZE;
    const std::uint32_t patchCrc = Crc32(patch.first(patch.size() - 4));
    if (const std::uint32_t expected = LoadU32(patch, footer + 8); expected != patchCrc) {
        return ChecksumMismatch(BpsCode::PatchChecksumMismatch, footer + 8, expected, patchCrc);
    }
    // Both image CRCs are taken while the target is built, each byte in cache.
    TargetBuilder builder(sourceNative);
    RunActions(patch, actions, sourceNative, &builder);
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    Bytes target = builder.Finish(sourceCrc, targetCrc);
    if (const std::uint32_t expected = LoadU32(patch, footer); expected != sourceCrc) {
        BpsApplyResult result =
            ChecksumMismatch(BpsCode::SourceChecksumMismatch, footer, expected, sourceCrc);
        Bytes swapped(sourceNative.begin(), sourceNative.end());
        SwapBytePairs(swapped);
        result.matchesOtherByteOrder = Crc32(swapped) == expected;
        return result;
    }
    if (const std::uint32_t expected = LoadU32(patch, footer + 4); expected != targetCrc) {
        return ChecksumMismatch(BpsCode::TargetChecksumMismatch, footer + 4, expected, targetCrc);
    }
    BpsApplyResult result;
    result.image = std::move(target);
    return result;
}
