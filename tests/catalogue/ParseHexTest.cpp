#include <gtest/gtest.h>

#include "catalogue/DescriptionFile.h"
#include "catalogue/ParseHex.h"

TEST(ParseHexValues, ReadsDigitsUntilTheFirstNonDigit) {
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"0x1F", 31},       {"0X1f", 31},
        {"abc", 0xABC},     {"AbC", 0xABC},
        {"1G2", 1},         {"", 0},
        {"0x", 0},          {"0X", 0},
        {"x12", 0},         {" 12", 0},
        {"0", 0},           {"0x0x12", 0},
        {"FFFFFFFF", ~0u},  {"123456789", 0x23456789u},
        {"1FFFFFFFF", ~0u}, {"00FF00", 0xFF00},
        {"9B2", 0x9B2},     {"1A2B0.bmp", 0x1A2B0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHex(c.text), c.value) << '"' << c.text << '"';
    }
}

// Bitmap names and description lines are keyed by their first six characters only.
TEST(ParseHexValues, KeyIsTheFirstSixCharacters) {
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"01A2B0.bmp", 0x1A2B0},
        {"00FF00 wall.bmp", 0xFF00},
        {"01a2b0 Brick wall\n", 0x1A2B0},
        {"ABCDEF12", 0xABCDEF},
        {"1A2B wall", 0x1A2B},
        {"0x1F2233", 0x1F22},
        {"12345", 0x12345},
        {"", 0},
        {"\n", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DescriptionKey(c.text), c.value) << '"' << c.text << '"';
    }
}
