#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// An earlier occurrence of the bytes at some position: `length` bytes (full length, not cut to
// 258) starting `distance` bytes back. Both are 0 when no earlier match reaches 3 bytes.
struct EarlierMatch {
    std::size_t length = 0;
    std::size_t distance = 0;
};

// Longest-earlier-match search over a block of at most MAX_MATCH_FINDER_DATA bytes.
//
// Find(p) returns the same match as trying every earlier position q = p - 1 down to 0, measuring
// how many bytes from q equal those from p (the compared range may run past p, counting stops
// at the end of the data) and keeping a candidate only when strictly longer: the longest match,
// the nearest among equally long ones. Matches shorter than 3 bytes are reported as none.
//
// How it stays exact: positions are chained, nearest first, by a hash of their first k bytes.
// Every position whose match with p reaches k bytes is in p's k-chain, so walking that chain
// and keeping strict improvements finds the answer whenever it is at least k bytes long. With
// longer keys (6, 12, 24) the longest key whose chain holds a real k-byte match is walked, which
// keeps chains short on data of few byte values; otherwise the next shorter key is tried. Runs of
// one byte value are walked a whole run at a time (see FindInRun).
class MatchFinder {
public:
    static constexpr std::size_t MAX_MATCH_FINDER_DATA = 65534;

    // Which key lengths are chained. Adaptive starts with 3-byte keys only and adds the longer
    // ones once the 3-byte chains walked add up to three steps per data byte: typical textures
    // stay below that and never pay for building them, data of two or three byte values goes
    // far beyond. The results never depend on the choice.
    enum class Keys { Adaptive, ShortestOnly, All };

    // Indexes `data`, which is copied. Throws std::length_error above MAX_MATCH_FINDER_DATA.
    explicit MatchFinder(std::span<const std::uint8_t> data, Keys keys = Keys::Adaptive);

    // The match for position `p`; none for p = 0 and for p at or past the last three bytes.
    // Not const: in Adaptive mode it may build the longer-key chains.
    EarlierMatch Find(std::size_t p);

    std::size_t Size() const { return m_size; }

private:
    static constexpr std::uint16_t NONE = 0xFFFF;
    static constexpr std::size_t KEY_LENGTHS[] = {3, 6, 12, 24};
    static constexpr std::size_t LEVEL_COUNT = std::size(KEY_LENGTHS);

    void BuildLongerKeys();
    // Walks p's chain of key length KEY_LENGTHS[level]; counts into `steps`. Finds nothing when
    // no chained position matches the whole key.
    EarlierMatch FindInChain(std::size_t p, std::size_t level, std::size_t& steps) const;
    EarlierMatch FindInRun(std::size_t p) const;
    // Whether the bytes from `q` may match those from `p` beyond `best` bytes: a cheap test of
    // (up to) the eight bytes ending at offset `best`. Needs p + best < size.
    bool MayBeLonger(std::size_t q, std::size_t p, std::size_t best) const;
    // Number of equal bytes from `a` and from `b` (a < b), at most `limit`; b + limit <= size.
    std::size_t CommonLength(std::size_t a, std::size_t b, std::size_t limit) const;
    const std::uint16_t* Chain(std::size_t level) const { return &m_previous[level * m_size]; }

    std::size_t m_size = 0;
    std::vector<std::uint8_t> m_bytes;       // the data, then 8 zero bytes for wide loads
    std::vector<std::uint16_t> m_previous;   // per built key length: previous position with the
                                             // same hash of that many bytes, or NONE
    std::vector<std::uint16_t> m_runLength;  // equal bytes from i on, at least 1
    std::vector<std::uint16_t> m_runStart;   // first position of the run holding i
    std::size_t m_levels = 1;                // key lengths chained so far (1 or LEVEL_COUNT)
    bool m_adaptive = true;
    std::size_t m_steps = 0;  // 3-byte chain steps walked so far (Adaptive)
};
