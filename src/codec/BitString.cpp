#include "codec/BitString.h"

#include <algorithm>

namespace {

// Fixed-code symbol of the lengths 11 to 257 (symbols 265 to 284) and of the distances 5 to 4096
// (symbols 4 to 23): each symbol covers 2^extra values from its base on.
struct SymbolSpan {
    std::int32_t symbol;
    std::int32_t base;
    std::int32_t extraBits;
};

SymbolSpan LengthSymbol(std::int32_t length) {
    SymbolSpan span{265, 11, 1};
    while (length >= span.base + (1 << span.extraBits)) {
        span.base += 1 << span.extraBits;
        ++span.symbol;
        span.extraBits = (span.symbol - 261) / 4;
    }
    return span;
}

SymbolSpan DistanceSymbol(std::int32_t distance) {
    SymbolSpan span{4, 5, 1};
    while (distance >= span.base + (1 << span.extraBits)) {
        span.base += 1 << span.extraBits;
        ++span.symbol;
        span.extraBits = (span.symbol - 2) / 2;
    }
    return span;
}

std::string ExtraBits(std::int32_t value, std::int32_t width) {
    return width == 0 ? std::string() : ReverseBitString(NumberToBits(value, width));
}

}  // namespace

std::string NumberToBits(std::int32_t value, std::int32_t width) {
    if (width > 16 || width < 1 || value > 65535) {
        return "ERROR";
    }
    const auto bits = static_cast<std::uint32_t>(value);
    std::string text(static_cast<std::size_t>(width), '0');
    for (std::int32_t i = 0; i < width; ++i) {
        if ((bits >> (width - 1 - i)) & 1u) {
            text[static_cast<std::size_t>(i)] = '1';
        }
    }
    return text;
}

std::string ReverseBitString(std::string_view bits) {
    return std::string(bits.rbegin(), bits.rend());
}

const std::array<std::string, 16>& HighNibbleCodes() {
    // 0 to 8 are h + 3 in four digits, 9 to 15 are h + 16 in five: together with the low nibble
    // this spells 0x30 + b in 8 bits below 144 and 0x100 + b in 9 bits from 144 on.
    static const std::array<std::string, 16> codes = [] {
        std::array<std::string, 16> table;
        for (std::int32_t h = 0; h < 16; ++h) {
            table[static_cast<std::size_t>(h)] =
                h <= 8 ? NumberToBits(h + 3, 4) : NumberToBits(h + 16, 5);
        }
        return table;
    }();
    return codes;
}

const std::array<std::string, 16>& LowNibbleCodes() {
    static const std::array<std::string, 16> codes = [] {
        std::array<std::string, 16> table;
        for (std::int32_t l = 0; l < 16; ++l) {
            table[static_cast<std::size_t>(l)] = NumberToBits(l, 4);
        }
        return table;
    }();
    return codes;
}

std::string LiteralToBits(std::uint8_t byte) {
    return HighNibbleCodes()[byte / 16] + LowNibbleCodes()[byte % 16];
}

std::string LengthToBits(std::int32_t length) {
    if (length >= 0 && length <= 2) {
        return "ERROR";
    }
    if (length >= 3 && length <= 10) {
        return NumberToBits(length - 2, 7);
    }
    if (length >= 11 && length <= 257) {
        const SymbolSpan span = LengthSymbol(length);
        const std::string code = span.symbol <= 279 ? NumberToBits(span.symbol - 256, 7)
                                                    : NumberToBits(span.symbol - 280 + 192, 8);
        return code + ExtraBits(length - span.base, span.extraBits);
    }
    if (length == 258) {
        return "11000101";
    }
    return {};
}

std::string DistanceToBits(std::int32_t distance) {
    if (distance == 0) {
        return "00000";
    }
    if (distance >= 1 && distance <= 4) {
        return NumberToBits(distance - 1, 5);
    }
    if (distance >= 5 && distance <= 4096) {
        const SymbolSpan span = DistanceSymbol(distance);
        return NumberToBits(span.symbol, 5) + ExtraBits(distance - span.base, span.extraBits);
    }
    return {};
}

std::vector<std::uint8_t> BitStringToArray(std::string_view bits) {
    std::vector<std::uint8_t> array(bits.size());
    std::transform(bits.begin(), bits.end(), array.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c == '0' ? 0 : 1); });
    return array;
}

std::size_t PackBits(std::span<const std::uint8_t> bits, std::vector<std::uint8_t>& output) {
    const std::size_t byteCount = (bits.size() + 7) / 8;
    output.reserve(output.size() + byteCount);
    for (std::size_t first = 0; first < bits.size(); first += 8) {
        const std::size_t last = std::min(first + 8, bits.size());
        std::uint8_t byte = 0;
        for (std::size_t i = first; i < last; ++i) {
            if (bits[i] != 0) {
                byte |= static_cast<std::uint8_t>(0x80u >> (i - first));
            }
        }
        output.push_back(byte);
    }
    return byteCount;
}

void ReverseBitOrder(std::span<std::uint8_t> buffer, std::size_t end, std::size_t start) {
    end = std::min(end, buffer.size());
    for (std::size_t i = start; i < end; ++i) {
        std::uint8_t mirrored = 0;
        for (int k = 0; k < 8; ++k) {
            if ((buffer[i] >> k) & 1u) {
                mirrored |= static_cast<std::uint8_t>(0x80u >> k);
            }
        }
        buffer[i] = mirrored;
    }
}
