#include "codec/Inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

namespace {

constexpr int MAX_BITS = 15;          // longest Huffman code
constexpr int LITLEN_SYMBOLS = 288;   // 286 and 287 take part in the fixed code but mean nothing
constexpr int DISTANCE_SYMBOLS = 32;  // so do 30 and 31
constexpr int FAST_BITS = 10;         // codes up to this length decode with one table look-up

// What a decoded symbol means. `extra` is the extra-bit count of a length or distance symbol
// (0 to 13); the other kinds are marked with values no extra-bit count takes.
enum : std::uint8_t {
    KIND_LITERAL = 16,  // `value` is the byte
    KIND_END = 17,      // end of block
    KIND_BAD = 18,      // a symbol the format does not define
    KIND_NO_CODE = 19,  // a bit pattern the code does not assign
    KIND_LONG = 20,     // a code longer than the table's bits: decode it by the counts
};

// Trivial, so that tables of entries are not cleared before they are filled.
struct Entry {
    std::uint16_t value;  // literal byte, or base length or distance
    std::uint8_t extra;
    std::uint8_t length;  // code length in bits
};

constexpr Entry NO_CODE{0, KIND_NO_CODE, 0};

// Format notes: length symbols 257 to 264 stand for 3 to 10 with no extra bits, then every four
// symbols take one extra bit more, up to 284 (five extra bits, 227 to 257); 285 is 258 alone.
// Distance symbols 0 to 3 stand for 1 to 4, then every two symbols take one extra bit more, up
// to 29 (13 extra bits, 24577 to 32768).
struct SymbolMeanings {
    std::array<Entry, LITLEN_SYMBOLS> litlen{};
    std::array<Entry, DISTANCE_SYMBOLS> distance{};
};

constexpr SymbolMeanings BuildMeanings() {
    SymbolMeanings m;
    for (int s = 0; s < 256; ++s) {
        m.litlen[s] = Entry{static_cast<std::uint16_t>(s), KIND_LITERAL, 0};
    }
    m.litlen[256] = Entry{0, KIND_END, 0};
    int base = 3;
    for (int s = 257; s < 285; ++s) {
        const int extra = s < 265 ? 0 : (s - 261) / 4;
        m.litlen[s] = Entry{static_cast<std::uint16_t>(base), static_cast<std::uint8_t>(extra), 0};
        base += 1 << extra;
    }
    m.litlen[285] = Entry{258, 0, 0};
    m.litlen[286] = m.litlen[287] = Entry{0, KIND_BAD, 0};
    base = 1;
    for (int s = 0; s < 30; ++s) {
        const int extra = s < 4 ? 0 : (s - 2) / 2;
        m.distance[s] =
            Entry{static_cast<std::uint16_t>(base), static_cast<std::uint8_t>(extra), 0};
        base += 1 << extra;
    }
    m.distance[30] = m.distance[31] = Entry{0, KIND_BAD, 0};
    return m;
}

constexpr SymbolMeanings MEANINGS = BuildMeanings();

// The low `length` bits of `code` in reverse order (length 1 to 15).
std::uint32_t ReverseBits(std::uint32_t code, int length) {
    static constexpr std::array<std::uint8_t, 256> REVERSED = [] {
        std::array<std::uint8_t, 256> table{};
        for (int b = 0; b < 256; ++b) {
            for (int i = 0; i < 8; ++i) {
                table[b] |= static_cast<std::uint8_t>(((b >> i) & 1) << (7 - i));
            }
        }
        return table;
    }();
    return (std::uint32_t{REVERSED[code & 0xFF]} << 8 | REVERSED[(code >> 8) & 0xFF]) >>
           (16 - length);
}

enum class CodeCheck { Complete, Incomplete, OverSubscribed, Empty };

// A canonical Huffman code (RFC 1951 3.2.2) built from its code lengths: the count of codes of
// each length and the symbols in code order decode any code bit by bit; `fast` decodes codes of
// up to `tableBits` bits (the longest code, at most FAST_BITS) at once, indexed by the next
// `tableBits` input bits (the first code bit is the least significant index bit), and marks where
// a longer code starts. The arrays are left unset until Build fills them.
class HuffmanCode {
public:
    CodeCheck Build(const std::uint8_t* lengths, int symbolCount, const Entry* meanings) {
        m_meanings = meanings;
        m_counts.fill(0);
        for (int s = 0; s < symbolCount; ++s) {
            ++m_counts[lengths[s]];
        }
        std::array<int, MAX_BITS + 2> offsets{};
        int left = 1;
        for (int len = 1; len <= MAX_BITS; ++len) {
            left = 2 * left - m_counts[len];
            if (left < 0) {
                return CodeCheck::OverSubscribed;
            }
            offsets[len + 1] = offsets[len] + m_counts[len];
        }
        for (int s = 0; s < symbolCount; ++s) {
            if (lengths[s] != 0) {
                m_symbols[offsets[lengths[s]]++] = static_cast<std::uint16_t>(s);
            }
        }
        m_longest = 0;
        for (int len = 1; len <= MAX_BITS; ++len) {
            m_longest = m_counts[len] != 0 ? len : m_longest;
        }
        m_tableBits = std::clamp(m_longest, 1, FAST_BITS);
        m_mask = (1u << m_tableBits) - 1;
        if (left != 0) {  // a complete code fills every entry below
            std::fill_n(m_fast.begin(), m_mask + 1, NO_CODE);
        }
        std::uint32_t code = 0;  // canonical codes, assigned in symbol order within each length
        int index = 0;
        for (int len = 1; len <= MAX_BITS; ++len) {
            for (int k = 0; k < m_counts[len]; ++k, ++code, ++index) {
                if (len <= m_tableBits) {
                    Entry entry = meanings[m_symbols[index]];
                    entry.length = static_cast<std::uint8_t>(len);
                    for (std::uint32_t i = ReverseBits(code, len); i <= m_mask; i += 1u << len) {
                        m_fast[i] = entry;
                    }
                } else {
                    m_fast[ReverseBits(code >> (len - m_tableBits), m_tableBits)] =
                        Entry{0, KIND_LONG, 0};
                }
            }
            code <<= 1;
        }
        if (m_counts[0] == symbolCount) {
            return CodeCheck::Empty;
        }
        return left == 0 ? CodeCheck::Complete : CodeCheck::Incomplete;
    }

    // Bits that decide any code: a pattern that is no code is known to be none after this many.
    unsigned Longest() const { return static_cast<unsigned>(m_longest); }

    const Entry& Fast(std::uint64_t bits) const { return m_fast[bits & m_mask]; }
    // The same look-up for a loop that keeps the table in locals.
    const Entry* Table() const { return m_fast.data(); }
    std::uint32_t Mask() const { return m_mask; }

    // Decodes a code longer than the table's bits from the next `available` bits; an entry of
    // length 0 when the bits end first, KIND_NO_CODE when the pattern is no code.
    Entry Slow(std::uint64_t bits, unsigned available) const {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int len = 1; len <= MAX_BITS; ++len) {
            if (static_cast<unsigned>(len) > available) {
                return Entry{0, KIND_NO_CODE, 0};
            }
            code |= static_cast<int>((bits >> (len - 1)) & 1u);
            const int count = m_counts[len];
            if (code - first < count) {
                Entry entry = m_meanings[m_symbols[index + code - first]];
                entry.length = static_cast<std::uint8_t>(len);
                return entry;
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return Entry{0, KIND_NO_CODE, MAX_BITS};
    }

private:
    const Entry* m_meanings = nullptr;
    int m_longest = 0;
    int m_tableBits = 1;
    std::uint32_t m_mask = 1;
    std::array<int, MAX_BITS + 1> m_counts;
    std::array<std::uint16_t, LITLEN_SYMBOLS> m_symbols;
    std::array<Entry, 1u << FAST_BITS> m_fast;
};

// Format notes, fixed code: literal/length symbols 0 to 143 have 8-bit codes, 144 to 255 9-bit,
// 256 to 279 7-bit, 280 to 287 8-bit; all 32 distance symbols have 5-bit codes.
struct FixedCodes {
    HuffmanCode litlen;
    HuffmanCode distance;
    FixedCodes() {
        std::array<std::uint8_t, LITLEN_SYMBOLS> lengths{};
        std::fill(lengths.begin(), lengths.begin() + 144, 8);
        std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
        std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
        std::fill(lengths.begin() + 280, lengths.end(), 8);
        litlen.Build(lengths.data(), LITLEN_SYMBOLS, MEANINGS.litlen.data());
        lengths.fill(5);
        distance.Build(lengths.data(), DISTANCE_SYMBOLS, MEANINGS.distance.data());
    }
};

const FixedCodes& Fixed() {
    static const FixedCodes codes;
    return codes;
}

// Eight input bytes as one number, the first the least significant.
std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, p, 8);
    } else {
        for (int i = 0; i < 8; ++i) {
            word |= std::uint64_t{p[i]} << (8 * i);
        }
    }
    return word;
}

// Input bits, least significant first, through a 64-bit buffer that is topped up to at least 56
// bits while the input lasts. Never reads a byte past the input.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> input) : m_input(input) {}

    void Refill() {
        if (m_input.size() - m_position >= 8) {
            // Whole bytes past the counted ones may enter the buffer too: they are the same
            // input bits at the same places that the next refill puts there again.
            m_bits |= Load64(m_input.data() + m_position) << m_count;
            m_position += (63 - m_count) >> 3;
            m_count |= 56;
        } else {
            while (m_count <= 56 && m_position < m_input.size()) {
                m_bits |= std::uint64_t{m_input[m_position++]} << m_count;
                m_count += 8;
            }
        }
    }
    std::uint64_t Peek() const { return m_bits; }
    unsigned Available() const { return m_count; }
    void Drop(unsigned n) {
        m_bits >>= n;
        m_count -= n;
    }
    // The next `n` bits (n <= 32, n <= Available()).
    std::uint32_t Take(unsigned n) {
        const auto value = static_cast<std::uint32_t>(m_bits & ((std::uint64_t{1} << n) - 1));
        Drop(n);
        return value;
    }
    std::size_t BitsUsed() const { return m_position * 8 - m_count; }

    // Drops the bits up to the next byte boundary and hands the buffered whole bytes back to the
    // input, so that the following bytes can be read directly.
    void AlignToByte() {
        m_position -= m_count / 8;
        m_bits = 0;
        m_count = 0;
    }
    std::span<const std::uint8_t> Rest() const { return m_input.subspan(m_position); }
    void Skip(std::size_t bytes) { m_position += bytes; }

    // The whole state, for a loop that keeps it in locals (byte stores through the output would
    // otherwise make the compiler reload the members after each one).
    struct State {
        std::size_t position;
        std::uint64_t bits;
        unsigned count;
    };
    State Save() const { return State{m_position, m_bits, m_count}; }
    void Restore(const State& state) {
        m_position = state.position;
        m_bits = state.bits;
        m_count = state.count;
    }
    std::span<const std::uint8_t> Input() const { return m_input; }

private:
    std::span<const std::uint8_t> m_input;
    std::size_t m_position = 0;  // next byte to load
    std::uint64_t m_bits = 0;
    unsigned m_count = 0;  // valid bits in m_bits
};

// The output buffer grows by doubling, never past the limit.
class Output {
public:
    Output(std::vector<std::uint8_t>& bytes, std::size_t limit, std::size_t expected)
        : m_bytes(bytes), m_limit(limit) {
        m_bytes.resize(std::min(limit, expected));
    }
    // Makes room for `n` more bytes; false when that would pass the limit.
    bool Reserve(std::size_t n) {
        if (m_bytes.size() - m_size >= n) {
            return true;
        }
        if (m_limit - m_size < n) {
            return false;
        }
        m_bytes.resize(std::min(m_limit, std::max(m_size + n, 2 * m_bytes.size())));
        return true;
    }
    std::uint8_t* Begin() { return m_bytes.data(); }
    std::uint8_t* End() { return m_bytes.data() + m_size; }
    std::size_t Capacity() const { return m_bytes.size(); }
    void Advance(std::size_t n) { m_size += n; }
    void Finish() { m_bytes.resize(m_size); }

private:
    std::vector<std::uint8_t>& m_bytes;
    std::size_t m_limit;
    std::size_t m_size = 0;
};

class Inflater {
public:
    Inflater(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& output,
             std::size_t limit)
        : m_in(input), m_out(output, limit, std::max<std::size_t>(4 * input.size(), 4096)) {}

    // Format notes: each block starts with BFINAL (1 bit) and BTYPE (2 bits): 0 stored, 1 fixed
    // code, 2 dynamic code, 3 reserved. Blocks follow each other until the one with BFINAL set.
    InflateResult Run() {
        bool last = false;
        while (!last) {
            m_in.Refill();
            if (m_in.Available() < 3) {
                return InflateResult::InputEnded;
            }
            last = m_in.Take(1) == 1;
            InflateResult result = InflateResult::Ok;
            switch (m_in.Take(2)) {
                case 0:
                    result = Stored();
                    break;
                case 1:
                    result = Codes(Fixed().litlen, Fixed().distance);
                    break;
                case 2:
                    result = Dynamic();
                    break;
                default:
                    result = InflateResult::BadBlockType;
            }
            if (result != InflateResult::Ok) {
                Finish();
                return result;
            }
        }
        Finish();
        return InflateResult::Ok;
    }

    std::size_t BitsUsed() const { return m_in.BitsUsed(); }

private:
    void Finish() { m_out.Finish(); }

    // Format notes, stored block: the rest of the current byte is skipped, then LEN and NLEN
    // (16 bits each, least significant byte first, NLEN the one's complement of LEN), then LEN
    // bytes copied as they are.
    InflateResult Stored() {
        m_in.AlignToByte();
        const std::span<const std::uint8_t> rest = m_in.Rest();
        if (rest.size() < 4) {
            m_in.Skip(rest.size());
            return InflateResult::InputEnded;
        }
        const unsigned length = rest[0] | (rest[1] << 8);
        const unsigned complement = rest[2] | (rest[3] << 8);
        if (length != (~complement & 0xFFFFu)) {
            return InflateResult::BadStoredLength;
        }
        if (rest.size() - 4 < length) {
            m_in.Skip(rest.size());
            return InflateResult::InputEnded;
        }
        if (!m_out.Reserve(length)) {
            return InflateResult::OutputPastLimit;
        }
        if (length != 0) {
            std::memcpy(m_out.End(), rest.data() + 4, length);
        }
        m_out.Advance(length);
        m_in.Skip(4 + length);
        return InflateResult::Ok;
    }

    // Format notes, dynamic block: HLIT (5 bits, 257 to 286 literal/length codes), HDIST (5 bits,
    // 1 to 30 distance codes), HCLEN (4 bits, 4 to 19 code length codes), then 3-bit lengths of
    // the code length code in the order 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2,
    // 14, 1, 15. With that code follow the lengths of both codes as one sequence: 0 to 15 are
    // lengths, 16 repeats the previous length 3 to 6 times (2 extra bits), 17 gives 3 to 10 zeros
    // (3 bits), 18 gives 11 to 138 zeros (7 bits). The code length code must be complete; the
    // other two may be incomplete only as a single code of one bit (or, for distances, no code
    // at all); the end-of-block symbol must have a code.
    InflateResult Dynamic() {
        static constexpr std::array<std::uint8_t, 19> ORDER = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
        m_in.Refill();
        if (m_in.Available() < 14) {
            return InflateResult::InputEnded;
        }
        const int litlenCount = static_cast<int>(m_in.Take(5)) + 257;
        const int distanceCount = static_cast<int>(m_in.Take(5)) + 1;
        const int lengthCodeCount = static_cast<int>(m_in.Take(4)) + 4;
        if (litlenCount > 286 || distanceCount > 30) {
            return InflateResult::BadCodeLengths;
        }
        if (!m_dynamic) {
            m_dynamic.reset(new DynamicCodes);  // no need to clear the tables first
        }
        HuffmanCode& lengthCode = m_dynamic->lengths;
        HuffmanCode& litlenCode = m_dynamic->litlen;
        HuffmanCode& distanceCode = m_dynamic->distance;
        std::array<std::uint8_t, 19> codeLengthLengths{};
        for (int i = 0; i < lengthCodeCount; ++i) {
            m_in.Refill();
            if (m_in.Available() < 3) {
                return InflateResult::InputEnded;
            }
            codeLengthLengths[ORDER[i]] = static_cast<std::uint8_t>(m_in.Take(3));
        }
        static constexpr std::array<Entry, 19> PLAIN = [] {
            std::array<Entry, 19> plain{};
            for (int s = 0; s < 19; ++s) {
                plain[s] = Entry{static_cast<std::uint16_t>(s), 0, 0};
            }
            return plain;
        }();
        if (lengthCode.Build(codeLengthLengths.data(), 19, PLAIN.data()) != CodeCheck::Complete) {
            return InflateResult::BadCodeLengths;
        }

        std::array<std::uint8_t, 286 + 30> lengths{};
        const int total = litlenCount + distanceCount;
        int index = 0;
        while (index < total) {
            m_in.Refill();
            Entry entry = NO_CODE;
            const InflateResult decoded = Decode(lengthCode, entry);
            if (decoded != InflateResult::Ok) {
                return decoded == InflateResult::BadSymbol ? InflateResult::BadCodeLengths
                                                           : decoded;
            }
            const int symbol = entry.value;
            if (symbol < 16) {
                lengths[index++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            static constexpr unsigned EXTRA[3] = {2, 3, 7};
            static constexpr int BASE[3] = {3, 3, 11};
            const unsigned extra = EXTRA[symbol - 16];
            if (m_in.Available() < extra) {
                return InflateResult::InputEnded;
            }
            const int repeat = BASE[symbol - 16] + static_cast<int>(m_in.Take(extra));
            if (symbol == 16 && index == 0) {
                return InflateResult::BadCodeLengths;
            }
            if (repeat > total - index) {
                return InflateResult::BadCodeLengths;
            }
            const std::uint8_t value = symbol == 16 ? lengths[index - 1] : 0;
            std::fill_n(lengths.begin() + index, repeat, value);
            index += repeat;
        }
        if (lengths[256] == 0) {
            return InflateResult::BadCodeLengths;
        }
        const CodeCheck litlen =
            litlenCode.Build(lengths.data(), litlenCount, MEANINGS.litlen.data());
        if (!Usable(litlen, lengths.data(), litlenCount)) {
            return InflateResult::BadCodeLengths;
        }
        const CodeCheck distance = distanceCode.Build(lengths.data() + litlenCount, distanceCount,
                                                      MEANINGS.distance.data());
        if (distance != CodeCheck::Empty &&
            !Usable(distance, lengths.data() + litlenCount, distanceCount)) {
            return InflateResult::BadCodeLengths;
        }
        return Codes(litlenCode, distanceCode);
    }

    // A complete code, or a single code of one bit.
    static bool Usable(CodeCheck check, const std::uint8_t* lengths, int count) {
        if (check == CodeCheck::Complete) {
            return true;
        }
        if (check != CodeCheck::Incomplete) {
            return false;
        }
        return std::all_of(lengths, lengths + count, [](std::uint8_t l) { return l <= 1; });
    }

    // Decodes one symbol from the buffered bits (the caller has refilled).
    InflateResult Decode(const HuffmanCode& code, Entry& entry) {
        entry = code.Fast(m_in.Peek());
        if (entry.extra == KIND_LONG) {
            entry = code.Slow(m_in.Peek(), m_in.Available());
            if (entry.length == 0) {
                return InflateResult::InputEnded;
            }
        }
        if (entry.extra == KIND_NO_CODE) {
            return m_in.Available() < code.Longest() ? InflateResult::InputEnded
                                                     : InflateResult::BadSymbol;
        }
        if (entry.length > m_in.Available()) {
            return InflateResult::InputEnded;
        }
        m_in.Drop(entry.length);
        return entry.extra == KIND_BAD ? InflateResult::BadSymbol : InflateResult::Ok;
    }

    // Format notes, compressed data: literal/length symbols until the end-of-block symbol 256;
    // a length symbol (257 to 285, with its extra bits) is followed by a distance symbol (with its
    // extra bits), and the match copies `length` bytes from `distance` bytes back, overlapping
    // its own output when the distance is shorter than the length.
    //
    // The reader's state and the output pointers live in locals here: byte stores through the
    // output would otherwise make the compiler reload the members after each one.
    InflateResult Codes(const HuffmanCode& litlen, const HuffmanCode& distance) {
        const std::span<const std::uint8_t> input = m_in.Input();
        BitReader::State in = m_in.Save();
        std::uint8_t* begin = m_out.Begin();
        std::uint8_t* out = m_out.End();
        std::uint8_t* end = begin + m_out.Capacity();
        auto drop = [&in](unsigned n) {
            in.bits >>= n;
            in.count -= n;
        };
        // Grows the output for `n` more bytes; false when that would pass the limit.
        auto room = [&](std::size_t n) {
            m_out.Advance(static_cast<std::size_t>(out - m_out.End()));
            if (!m_out.Reserve(n)) {
                return false;
            }
            begin = m_out.Begin();
            out = m_out.End();
            end = begin + m_out.Capacity();
            return true;
        };
        auto decode = [&in, &drop](const HuffmanCode& code, Entry& entry) {
            entry = code.Fast(in.bits);
            if (entry.extra == KIND_LONG) {
                entry = code.Slow(in.bits, in.count);
            }
            if (entry.extra == KIND_NO_CODE) {
                return in.count < code.Longest() ? InflateResult::InputEnded
                                                 : InflateResult::BadSymbol;
            }
            if (entry.length > in.count) {
                return InflateResult::InputEnded;
            }
            drop(entry.length);
            return entry.extra == KIND_BAD ? InflateResult::BadSymbol : InflateResult::Ok;
        };
        // Extra bits of a length or distance; false when the input ends first.
        auto extra = [&in, &drop](unsigned n, std::size_t& value) {
            if (n > in.count) {
                return false;
            }
            value += static_cast<std::size_t>(in.bits & ((std::uint64_t{1} << n) - 1));
            drop(n);
            return true;
        };

        const Entry* const literals = litlen.Table();
        const std::uint32_t literalMask = litlen.Mask();
        InflateResult result = InflateResult::Ok;
        for (;;) {
            // While 8 input bytes are left, one load tops the bits up to at least 56: enough for
            // a length code (15), its extra bits (5), a distance code (15) and its extra bits (13).
            if (input.size() - in.position >= 8) {
                in.bits |= Load64(input.data() + in.position) << in.count;
                in.position += (63 - in.count) >> 3;
                in.count |= 56;
            } else {
                while (in.count <= 56 && in.position < input.size()) {
                    in.bits |= std::uint64_t{input[in.position++]} << in.count;
                    in.count += 8;
                }
            }
            Entry entry = NO_CODE;
            result = decode(litlen, entry);
            if (result != InflateResult::Ok) {
                break;
            }
            if (entry.extra == KIND_LITERAL) {
                // Literals while their codes lie in the bits read; anything else waits for a
                // refill.
                do {
                    if (out == end && !room(1)) {
                        result = InflateResult::OutputPastLimit;
                        break;
                    }
                    *out++ = static_cast<std::uint8_t>(entry.value);
                    entry = literals[in.bits & literalMask];
                    if (entry.extra != KIND_LITERAL || entry.length > in.count) {
                        break;
                    }
                    drop(entry.length);
                } while (true);
                if (result != InflateResult::Ok) {
                    break;
                }
                continue;
            }
            if (entry.extra == KIND_END) {
                break;
            }
            std::size_t length = entry.value;
            if (!extra(entry.extra, length)) {
                result = InflateResult::InputEnded;
                break;
            }
            result = decode(distance, entry);
            if (result != InflateResult::Ok) {
                break;
            }
            std::size_t back = entry.value;
            if (!extra(entry.extra, back)) {
                result = InflateResult::InputEnded;
                break;
            }
            if (back > static_cast<std::size_t>(out - begin)) {
                result = InflateResult::DistanceTooFar;
                break;
            }
            if (static_cast<std::size_t>(end - out) < length && !room(length)) {
                result = InflateResult::OutputPastLimit;
                break;
            }
            Copy(out, back, length, static_cast<std::size_t>(end - out) - length);
            out += length;
        }
        m_in.Restore(in);
        m_out.Advance(static_cast<std::size_t>(out - m_out.End()));
        return result;
    }

    // Copies `length` bytes from `back` bytes before `to`; a match longer than its distance
    // repeats the bytes it has just written. With `slack` bytes of room past the match, copies
    // run over its end in whole words.
    static void Copy(std::uint8_t* to, std::size_t back, std::size_t length, std::size_t slack) {
        const std::uint8_t* from = to - back;
        if (slack >= 8 && back >= 8) {
            for (std::size_t i = 0; i < length; i += 8) {
                std::memcpy(to + i, from + i, 8);  // eight bytes already written
            }
        } else if (slack >= 8 && back == 1) {
            const std::uint64_t run = to[-1] * 0x0101010101010101ull;
            for (std::size_t i = 0; i < length; i += 8) {
                std::memcpy(to + i, &run, 8);
            }
        } else {
            for (std::size_t i = 0; i < length; ++i) {
                to[i] = from[i];
            }
        }
    }

    BitReader m_in;
    Output m_out;
    // The codes of dynamic blocks, made at the first one: streams of fixed-code blocks only do
    // without them.
    struct DynamicCodes {
        HuffmanCode lengths;
        HuffmanCode litlen;
        HuffmanCode distance;
    };
    std::unique_ptr<DynamicCodes> m_dynamic;
};

}  // namespace

InflateOutcome InflateRaw(std::span<const std::uint8_t> stream, std::size_t outputLimit) {
    InflateOutcome outcome;
    Inflater inflater(stream, outcome.output, outputLimit);
    outcome.result = inflater.Run();
    outcome.bitsUsed = inflater.BitsUsed();
    return outcome;
}
