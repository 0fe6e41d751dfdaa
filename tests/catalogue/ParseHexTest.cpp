#include "catalogue/ParseHex.h"

#include <gtest/gtest.h>

#include "catalogue/DescriptionFile.h"

// Digits up to the first non-digit after an optional 0x, keeping the low 32 bits; names and
// description lines are keyed by their first six characters only.
TEST(ParseHex, ValuesAndSixCharacterKeys) {
    const std::pair<const char*, std::uint32_t> values[] = {{"0x1F", 31},
                                                            {"0X1f", 31},
                                                            {"AbC", 0xABC},
                                                            {"1G2", 1},
                                                            {"", 0},
                                                            {"0x", 0},
                                                            {"x12", 0},
                                                            {" 12", 0},
                                                            {"0x0x12", 0},
                                                            {"FFFFFFFF", ~0u},
                                                            {"123456789", 0x23456789u},
                                                            {"1FFFFFFFF", ~0u},
                                                            {"1A2B0.bmp", 0x1A2B0}};
    for (const auto& [text, value] : values)
        EXPECT_EQ(ParseHex(text), value) << text;
    const std::pair<const char*, std::uint32_t> keys[] = {
        {"00FF00 wall.bmp", 0xFF00}, {"ABCDEF12", 0xABCDEF}, {"1A2B wall", 0x1A2B},
        {"0x1F2233", 0x1F22},        {"12345", 0x12345},     {"\n", 0}};
    for (const auto& [text, value] : keys)
        EXPECT_EQ(DescriptionKey(text), value) << text;
}
