#include "catalogue/ParseHex.h"

#include <cstdio>

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

std::uint32_t ParseHex(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string HexText(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}
