#include "io/Crc32.h"

#include <array>
#include <cstddef>

// On x86-64 the processor's carry-less multiply, chosen at run time by what the processor has;
// elsewhere, and on processors without it, the portable tables alone.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define MGROM_CRC32_CLMUL 1
#endif

namespace {

constexpr std::uint32_t POLYNOMIAL = 0xEDB88320u;  // 0x04C11DB7 with its bits reversed
constexpr std::size_t SLICES = 16;

using Tables = std::array<std::array<std::uint32_t, 256>, SLICES>;

// TABLES[0][b] is the register change for byte b; TABLES[k][b] the change for byte b followed by
// k zero bytes. With them sixteen bytes are folded in at once by sixteen independent look-ups
// instead of sixteen dependent steps.
constexpr Tables MakeTables() {
    Tables tables{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t c = b;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) != 0 ? (c >> 1) ^ POLYNOMIAL : c >> 1;
        }
        tables[0][b] = c;
    }
    for (std::size_t k = 1; k < SLICES; ++k) {
        for (std::uint32_t b = 0; b < 256; ++b) {
            const std::uint32_t previous = tables[k - 1][b];
            tables[k][b] = (previous >> 8) ^ tables[0][previous & 0xFF];
        }
    }
    return tables;
}

constexpr Tables TABLES = MakeTables();

// Four bytes as a little-endian word, whatever the host's order (compilers make this one load).
inline std::uint32_t Word(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline std::uint32_t Fold(std::uint32_t word, std::size_t slice) {
    return TABLES[slice + 3][word & 0xFF] ^ TABLES[slice + 2][(word >> 8) & 0xFF] ^
           TABLES[slice + 1][(word >> 16) & 0xFF] ^ TABLES[slice][word >> 24];
}

// Continues the inverted register `c` over n bytes at p with the tables.
std::uint32_t TableUpdate(std::uint32_t c, const std::uint8_t* p, std::size_t n) {
    for (; n >= SLICES; n -= SLICES, p += SLICES) {
        // The register meets the first four bytes; the other twelve enter unmixed.
        c = Fold(Word(p) ^ c, 12) ^ Fold(Word(p + 4), 8) ^ Fold(Word(p + 8), 4) ^
            Fold(Word(p + 12), 0);
    }
    for (; n > 0; --n, ++p) {
        c = TABLES[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    }
    return c;
}

#ifdef MGROM_CRC32_CLMUL

// Carry-less multiplication folds 16 bytes per instruction pair, about ten times the tables'
// pace; a whole image is checksummed at every load, patch written and patch applied.
//
// A 16-byte block B at some position contributes B(x) * x^d to the message polynomial, d bits
// before its end, and only the message modulo the polynomial matters. So B may be replaced by
// B(x) * x^D mod P placed D bits further on, and XORed into the block there. With B = H * x^64 + L
// (H the first eight bytes in reflected order), that is H * (x^(64+D) mod P) + L * (x^D mod P):
// two 64 x 32-bit carry-less products. Folding everything into the last 16 bytes leaves a block
// with the same remainder as the message, which the tables then finish.

// x^n mod P in the reflected layout (x^0 at bit 31), one multiplication by x per step.
constexpr std::uint32_t ReflectedPowerOfX(unsigned n) {
    std::uint32_t v = 0x80000000u;
    for (unsigned i = 0; i < n; ++i) {
        v = (v & 1) != 0 ? (v >> 1) ^ POLYNOMIAL : v >> 1;
    }
    return v;
}

// The two multipliers of a fold over D bits, as the 64-bit operands the instruction takes. The
// product of two reflected 64-bit values lands one place short of the 128-bit block layout, which
// is made good by using x^(n-1) for x^n. Low lane multiplies H, high lane multiplies L.
// Constants, computed by the compiler.
template <unsigned N>
constexpr long long MULTIPLIER = static_cast<long long>(std::uint64_t{ReflectedPowerOfX(N - 1)}
                                                        << 32);

__attribute__((target("pclmul,sse4.1"))) inline __m128i FoldBlock(__m128i block, __m128i next,
                                                                  __m128i multipliers) {
    const __m128i high = _mm_clmulepi64_si128(block, multipliers, 0x00);
    const __m128i low = _mm_clmulepi64_si128(block, multipliers, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

// Continues the inverted register `c` over n >= 64 bytes at p; returns it inverted likewise.
__attribute__((target("pclmul,sse4.1"))) std::uint32_t ClmulUpdate(std::uint32_t c,
                                                                   const std::uint8_t* p,
                                                                   std::size_t n) {
    const __m128i by512 = _mm_set_epi64x(MULTIPLIER<512>, MULTIPLIER<512 + 64>);
    const __m128i by128 = _mm_set_epi64x(MULTIPLIER<128>, MULTIPLIER<128 + 64>);
    auto load = [](const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    // The register enters as the first four message bytes' XOR, as in the table loop.
    __m128i a0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(c)));
    __m128i a1 = load(p + 16);
    __m128i a2 = load(p + 32);
    __m128i a3 = load(p + 48);
    p += 64;
    n -= 64;
    // Four independent chains, each moving 64 bytes on, keep the multiplier busy.
    for (; n >= 64; n -= 64, p += 64) {
        a0 = FoldBlock(a0, load(p), by512);
        a1 = FoldBlock(a1, load(p + 16), by512);
        a2 = FoldBlock(a2, load(p + 32), by512);
        a3 = FoldBlock(a3, load(p + 48), by512);
    }
    __m128i a = FoldBlock(FoldBlock(FoldBlock(a0, a1, by128), a2, by128), a3, by128);
    for (; n >= 16; n -= 16, p += 16) {
        a = FoldBlock(a, load(p), by128);
    }
    alignas(16) std::uint8_t last[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(last), a);
    return TableUpdate(TableUpdate(0, last, 16), p, n);
}

#define MGROM_WIDE_CLMUL __attribute__((target("avx2,vpclmulqdq,pclmul,sse4.1")))

// The same with 256-bit registers, two blocks per instruction, where the processor has the wide
// carry-less multiply: 32-byte steps in four chains of 128 bytes. Taken from 256 bytes on, so that
// buffers of 64 to 255 bytes still run (and test) the 16-byte path's loop on such processors.
template <unsigned BITS>
MGROM_WIDE_CLMUL inline __m256i WideMultipliers() {
    const auto high = MULTIPLIER<BITS + 64>;
    const auto low = MULTIPLIER<BITS>;
    return _mm256_set_epi64x(low, high, low, high);
}

MGROM_WIDE_CLMUL inline __m256i WideFold(__m256i block, __m256i next, __m256i multipliers) {
    const __m256i high = _mm256_clmulepi64_epi128(block, multipliers, 0x00);
    const __m256i low = _mm256_clmulepi64_epi128(block, multipliers, 0x11);
    return _mm256_xor_si256(_mm256_xor_si256(high, low), next);
}

MGROM_WIDE_CLMUL inline __m256i WideLoad(const std::uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// Folds the two blocks of `a`, the earlier into the later, then the 16-byte path finishes the
// remaining n < 128 bytes at p.
MGROM_WIDE_CLMUL std::uint32_t WideFinish(__m256i a, const std::uint8_t* p, std::size_t n) {
    const __m128i by128 = _mm_set_epi64x(MULTIPLIER<128>, MULTIPLIER<128 + 64>);
    __m128i b = FoldBlock(_mm256_castsi256_si128(a), _mm256_extracti128_si256(a, 1), by128);
    for (; n >= 16; n -= 16, p += 16) {
        b = FoldBlock(b, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), by128);
    }
    alignas(16) std::uint8_t last[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(last), b);
    return TableUpdate(TableUpdate(0, last, 16), p, n);
}

MGROM_WIDE_CLMUL std::uint32_t WideClmulUpdate(std::uint32_t c, const std::uint8_t* p,
                                               std::size_t n) {
    const __m256i by1024 = WideMultipliers<1024>();
    const __m256i by256 = WideMultipliers<256>();
    const __m256i first = _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(c)));
    __m256i a0 = _mm256_xor_si256(WideLoad(p), first);
    __m256i a1 = WideLoad(p + 32);
    __m256i a2 = WideLoad(p + 64);
    __m256i a3 = WideLoad(p + 96);
    p += 128;
    n -= 128;
    for (; n >= 128; n -= 128, p += 128) {
        a0 = WideFold(a0, WideLoad(p), by1024);
        a1 = WideFold(a1, WideLoad(p + 32), by1024);
        a2 = WideFold(a2, WideLoad(p + 64), by1024);
        a3 = WideFold(a3, WideLoad(p + 96), by1024);
    }
    return WideFinish(WideFold(WideFold(WideFold(a0, a1, by256), a2, by256), a3, by256), p, n);
}

#define MGROM_WIDEST_CLMUL __attribute__((target("avx512f,vpclmulqdq,avx2,pclmul,sse4.1")))

// Again with 512-bit registers, four blocks per instruction: 64-byte steps in four chains of 256
// bytes. Taken from 512 bytes on, leaving 256 to 511 bytes to the 256-bit path.
MGROM_WIDEST_CLMUL inline __m512i WidestFold(__m512i block, __m512i next, __m512i multipliers) {
    const __m512i high = _mm512_clmulepi64_epi128(block, multipliers, 0x00);
    const __m512i low = _mm512_clmulepi64_epi128(block, multipliers, 0x11);
    return _mm512_xor_si512(_mm512_xor_si512(high, low), next);
}

MGROM_WIDEST_CLMUL inline __m512i WidestLoad(const std::uint8_t* at) {
    return _mm512_loadu_si512(at);
}

// A 256-bit half of a register; the masked form, as the plain one trips GCC's
// uninitialized-value warning inside its own header.
template <int WHICH>
MGROM_WIDEST_CLMUL inline __m256i Half(__m512i v) {
    return _mm512_maskz_extracti64x4_epi64(0xFF, v, WHICH);
}

MGROM_WIDEST_CLMUL std::uint32_t WidestClmulUpdate(std::uint32_t c, const std::uint8_t* p,
                                                   std::size_t n) {
    const auto high = MULTIPLIER<2048 + 64>;
    const auto low = MULTIPLIER<2048>;
    const __m512i by2048 = _mm512_set_epi64(low, high, low, high, low, high, low, high);
    const __m512i first = _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(c)));
    __m512i chains[4] = {_mm512_xor_si512(WidestLoad(p), first), WidestLoad(p + 64),
                         WidestLoad(p + 128), WidestLoad(p + 192)};
    p += 256;
    n -= 256;
    for (; n >= 256; n -= 256, p += 256) {
        for (int i = 0; i < 4; ++i) {
            chains[i] = WidestFold(chains[i], WidestLoad(p + 64 * i), by2048);
        }
    }
    // The eight 32-byte halves, in message order, fold into the last; the 256-bit path's
    // ending finishes.
    const __m256i by256 = WideMultipliers<256>();
    __m256i a = Half<0>(chains[0]);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            a = WideFold(a, Half<0>(chains[i]), by256);
        }
        a = WideFold(a, Half<1>(chains[i]), by256);
    }
    return WideFinish(a, p, n);
}

bool HasWidestClmul() {
    static const bool has =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("vpclmulqdq");
    return has;
}

bool HasWideClmul() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("vpclmulqdq");
    return has;
}

bool HasClmul() {
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return has;
}

#endif

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
#ifdef MGROM_CRC32_CLMUL
    if (bytes.size() >= 512 && HasWidestClmul() && HasWideClmul() && HasClmul()) {
        return ~WidestClmulUpdate(~crc, bytes.data(), bytes.size());
    }
    if (bytes.size() >= 256 && HasWideClmul() && HasClmul()) {
        return ~WideClmulUpdate(~crc, bytes.data(), bytes.size());
    }
    if (bytes.size() >= 64 && HasClmul()) {
        return ~ClmulUpdate(~crc, bytes.data(), bytes.size());
    }
#endif
    return ~TableUpdate(~crc, bytes.data(), bytes.size());
}
