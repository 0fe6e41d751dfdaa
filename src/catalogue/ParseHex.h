#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads hexadecimal text as an unsigned 32-bit value, the way every catalogue name, description
// key and the forced-size field are read. Letter case does not matter and an optional "0x" prefix
// is skipped. Reading stops quietly at the first character that is not a hexadecimal digit, so
// "1G2" gives 1; an empty text (or a bare "0x") gives 0. Digits beyond the eighth push the oldest
// ones out of the 32 bits.
std::uint32_t ParseHex(std::string_view text);

// Upper-case hexadecimal without prefix, as offsets are shown everywhere.
std::string HexText(std::uint64_t value);
