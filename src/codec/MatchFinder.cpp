#include "codec/MatchFinder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int HASH_BITS = 13;
constexpr std::size_t WIDE = 8;
constexpr std::uint32_t POLYNOMIAL_BASE = 0x01000193;
constexpr std::uint32_t FIBONACCI = 2654435761u;
// Building the longer-key chains costs about as much as walking this many 3-byte chain steps
// per data byte (measured), so Adaptive builds them once that much has been walked.
constexpr std::size_t ADAPTIVE_STEPS_PER_BYTE = 3;

std::size_t CheckedSize(std::size_t size) {
    if (size > MatchFinder::MAX_MATCH_FINDER_DATA) {
        throw std::length_error("MatchFinder: data too long");
    }
    return size;
}

std::uint64_t Load(const std::uint8_t* bytes) {
    std::uint64_t value;
    std::memcpy(&value, bytes, WIDE);
    return value;
}

// Chains positions 0 to count - 1 by the hash that `hashAt` gives for each.
template <typename HashAt>
void ChainByHash(std::uint16_t* previous, std::size_t count, HashAt hashAt) {
    std::array<std::uint16_t, std::size_t{1} << HASH_BITS> head;
    head.fill(0xFFFF);
    std::uint32_t lastHash = ~0u;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t hash = hashAt(i);
        // Inside a run the slot was just written; avoid reading it back.
        previous[i] = hash == lastHash ? static_cast<std::uint16_t>(i - 1) : head[hash];
        head[hash] = static_cast<std::uint16_t>(i);
        lastHash = hash;
    }
}

}  // namespace

MatchFinder::MatchFinder(std::span<const std::uint8_t> data, Keys keys)
    : m_size(CheckedSize(data.size())),
      m_bytes(m_size + WIDE, 0),
      m_previous(m_size, NONE),
      m_runLength(m_size, 1),
      m_runStart(m_size, 0),
      m_adaptive(keys == Keys::Adaptive) {
    std::copy(data.begin(), data.end(), m_bytes.begin());
    // Counters kept in registers: these loops run over every position of every texture.
    std::uint16_t run = 1;
    for (std::size_t i = m_size; i-- > 1;) {
        run = m_bytes[i - 1] == m_bytes[i] ? static_cast<std::uint16_t>(run + 1) : 1;
        m_runLength[i - 1] = run;
    }
    std::uint16_t start = 0;
    for (std::size_t i = 1; i < m_size; ++i) {
        if (m_bytes[i - 1] != m_bytes[i]) {
            start = static_cast<std::uint16_t>(i);
        }
        m_runStart[i] = start;
    }
    if (m_size >= 3) {
        ChainByHash(m_previous.data(), m_size - 2, [this](std::size_t i) {
            const std::uint32_t key = (std::uint32_t{m_bytes[i]} << 16) |
                                      (std::uint32_t{m_bytes[i + 1]} << 8) | m_bytes[i + 2];
            return (key * FIBONACCI) >> (32 - HASH_BITS);
        });
    }
    if (keys == Keys::All) {
        BuildLongerKeys();
    }
}

void MatchFinder::BuildLongerKeys() {
    m_previous.resize(LEVEL_COUNT * m_size, NONE);
    // Polynomial prefix hashes: the key of bytes [i, i + k) is prefix[i + k] - prefix[i] * B^k.
    std::vector<std::uint32_t> prefix(m_size + 1, 0);
    for (std::size_t i = 0; i < m_size; ++i) {
        prefix[i + 1] = prefix[i] * POLYNOMIAL_BASE + m_bytes[i] + 1;
    }
    for (std::size_t level = 1; level < LEVEL_COUNT; ++level) {
        const std::size_t keyLength = KEY_LENGTHS[level];
        if (keyLength > m_size) {
            break;
        }
        std::uint32_t power = 1;
        for (std::size_t i = 0; i < keyLength; ++i) {
            power *= POLYNOMIAL_BASE;
        }
        ChainByHash(&m_previous[level * m_size], m_size - keyLength + 1, [&](std::size_t i) {
            const std::uint32_t key = prefix[i + keyLength] - prefix[i] * power;
            return (key * FIBONACCI) >> (32 - HASH_BITS);
        });
    }
    m_levels = LEVEL_COUNT;
}

bool MatchFinder::MayBeLonger(std::size_t q, std::size_t p, std::size_t best) const {
    if constexpr (std::endian::native == std::endian::little) {
        if (best >= WIDE - 1) {
            return Load(&m_bytes[q + best + 1 - WIDE]) == Load(&m_bytes[p + best + 1 - WIDE]);
        }
        const std::uint64_t mask = (std::uint64_t{1} << (8 * (best + 1))) - 1;
        return ((Load(&m_bytes[q]) ^ Load(&m_bytes[p])) & mask) == 0;
    } else {
        return m_bytes[q + best] == m_bytes[p + best];
    }
}

std::size_t MatchFinder::CommonLength(std::size_t a, std::size_t b, std::size_t limit) const {
    std::size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // b + k < size, so both 8-byte loads stay inside the padded copy.
        while (k < limit) {
            if (const std::uint64_t diff = Load(&m_bytes[a + k]) ^ Load(&m_bytes[b + k]);
                diff != 0) {
                return std::min(limit, k + static_cast<std::size_t>(std::countr_zero(diff)) / 8);
            }
            k += WIDE;
        }
        return limit;
    } else {
        while (k < limit && m_bytes[a + k] == m_bytes[b + k]) {
            ++k;
        }
        return k;
    }
}

EarlierMatch MatchFinder::Find(std::size_t p) {
    if (p == 0 || p >= m_size || m_size - p < 3) {
        return {};
    }
    if (m_runLength[p] >= 3) {
        return FindInRun(p);
    }
    if (Chain(0)[p] == NONE) {
        return {};  // nothing earlier shares even the first three bytes
    }
    std::size_t steps = 0;
    if (m_levels == 1) {
        const EarlierMatch match = FindInChain(p, 0, steps);
        m_steps += steps;
        if (m_adaptive && m_steps > ADAPTIVE_STEPS_PER_BYTE * m_size) {
            BuildLongerKeys();
        }
        return match;
    }
    for (std::size_t level = LEVEL_COUNT; level-- > 0;) {
        if (KEY_LENGTHS[level] <= m_size - p) {
            if (const EarlierMatch match = FindInChain(p, level, steps); match.length != 0) {
                return match;
            }
        }
    }
    return {};
}

// p does not start a run of 3. Chained positions with other keys are hash collisions; those
// inside a run at least as long as the key are chained position after position, so the whole
// run is skipped at once.
EarlierMatch MatchFinder::FindInChain(std::size_t p, std::size_t level, std::size_t& steps) const {
    const std::size_t keyLength = KEY_LENGTHS[level];
    const std::uint16_t* previous = Chain(level);
    const std::uint16_t run = m_runLength[p];
    const std::size_t limit = m_size - p;
    std::size_t best = keyLength - 1;  // a candidate must match the whole key
    std::size_t bestAt = NONE;
    std::uint16_t q = previous[p];
    while (q != NONE) {
        ++steps;
        if (m_runLength[q] != run) {
            q = m_runLength[q] >= keyLength ? previous[m_runStart[q]] : previous[q];
            continue;
        }
        if (MayBeLonger(q, p, best)) {
            const std::size_t length = CommonLength(q, p, limit);
            if (length > best) {
                best = length;
                bestAt = q;
                if (best == limit) {
                    break;
                }
            }
        }
        q = previous[q];
    }
    return bestAt == NONE ? EarlierMatch{} : EarlierMatch{best, p - bestAt};
}

// p starts `run` (>= 3) bytes of value c. Every position whose three bytes are c c c lies in a
// run of c, and the positions of one run are chained next to each other. For a run [s, e) and x
// in it, the match at x is e - x when e - x < run, `run` when e - x > run, and run plus whatever
// follows both runs when e - x == run; so each run yields its best candidate in O(1).
EarlierMatch MatchFinder::FindInRun(std::size_t p) const {
    const std::size_t run = m_runLength[p];
    const std::uint8_t value = m_bytes[p];
    const std::size_t limit = m_size - p;
    const std::uint16_t* previous = Chain(0);
    std::size_t best = 2;
    std::size_t bestAt = 0;
    std::uint16_t q = previous[p];
    while (q != NONE) {
        const std::size_t runAtQ = m_runLength[q];
        if (runAtQ < 3) {
            q = previous[q];  // a hash collision outside any run
            continue;
        }
        const std::size_t start = m_runStart[q];
        if (m_bytes[q] == value) {
            const std::size_t end = q + runAtQ;
            std::size_t length;
            std::size_t at;
            if (runAtQ > run) {
                length = run;
                at = q;
            } else if (end - start < run) {
                length = end - start;
                at = start;
            } else {
                at = end - run;
                length = run + CommonLength(end, p + run, limit - run);
            }
            if (length > best) {
                best = length;
                bestAt = at;
                if (best == limit) {
                    break;
                }
            }
        }
        q = previous[start];
    }
    return best >= 3 ? EarlierMatch{best, p - bestAt} : EarlierMatch{};
}
