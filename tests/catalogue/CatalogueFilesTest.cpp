#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "TempFolder.h"
#include "catalogue/DescriptionFile.h"
#include "catalogue/ParseHex.h"
#include "catalogue/RomCheck.h"
#include "io/RomImage.h"

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

// A header with `marker` at 0x20 and the bytes at 0x3E and 0x3F, cut or padded with 0xAA to
// `kept` bytes.
std::vector<std::uint8_t> Header(const char* marker, int at3E, int at3F, std::size_t kept = 0x40) {
    std::vector<std::uint8_t> bytes(0x40, 0);
    std::memcpy(bytes.data() + 0x20, marker, 4);
    bytes[0x3E] = static_cast<std::uint8_t>(at3E);
    bytes[0x3F] = static_cast<std::uint8_t>(at3F);
    bytes.resize(kept, 0xAA);
    return bytes;
}

}  // namespace

// The header decides first (bytes a short file lacks read as zero), then the length; a path
// that is no file or too short says so.
TEST(RomCheck, VerdictsFromTheHeaderThenTheLength) {
    using V = RomVerdict;
    constexpr std::uint64_t ROM = ROM_IMAGE_SIZE;
    constexpr V S = V::Swapped, N = V::Native, R = V::WrongRegion, G = V::WrongGame,
                Z = V::WrongSize;
    // Marker, bytes at 0x3E and 0x3F, leading bytes passed, length, verdict. Without a marker 00
    // then a region code is the region; a native file reads 0x3E as the country, so 00 50 there
    // is no region.
    const std::tuple<const char*, int, int, std::size_t, std::uint64_t, RomVerdict> cases[] = {
        {"OMNO", 0x00, 0x45, 0x40, ROM, S},     {"MOON", 0x45, 0x00, 0x1000, ROM, N},
        {"OMNO", 0x00, 0x50, 0x40, ROM, R},     {"OMNO", 0x00, 0x4A, 0x40, ROM - 2, R},
        {"MOON", 0x50, 0x00, 0x40, ROM, R},     {"MOON", 0x4A, 0x00, 0x40, ROM, R},
        {"JUNK", 0x00, 0x50, 0x40, 0x40, R},    {"\0\0\0", 0x00, 0x4A, 0x40, 5000, R},
        {"OMNO", 0x01, 0x45, 0x40, ROM, G},     {"MOON", 0x00, 0x45, 0x40, ROM, G},
        {"OMNO", 0x45, 0x00, 0x40, ROM, G},     {"MOON", 0x00, 0x50, 0x40, ROM, G},
        {"MOON", 0x45, 0x01, 0x40, ROM, G},     {"MOOM", 0x45, 0x00, 0x40, ROM, G},
        {"ONMO", 0x00, 0x45, 0x40, ROM, G},     {"ABCD", 0x12, 0x34, 0x40, 100, G},
        {"MOON", 0x50, 0x00, 0x3F, 0x3F, R},    {"OMNO", 0x00, 0x45, 0x3F, 0x3F, G},
        {"MOON", 0x45, 0x00, 0x3F, 0x3F, Z},    {"MOON", 0x45, 0x00, 0x40, ROM - 1, Z},
        {"OMNO", 0x00, 0x45, 0x40, ROM + 1, Z}, {"OMNO", 0x00, 0x45, 0x40, ROM + (1ull << 32), Z}};
    for (const auto& [marker, at3E, at3F, kept, length, verdict] : cases)
        EXPECT_EQ(CheckRomFile(Header(marker, at3E, at3F, kept), length), verdict)
            << marker << " " << at3E << " " << at3F << " " << kept << " " << length;
    TempFolder folder;
    EXPECT_EQ(CheckRomPath(folder / "missing.rom").verdict, RomVerdict::NotFound);
    EXPECT_EQ(CheckRomPath(folder.Path()).verdict, RomVerdict::NotAFile);
    const RomFileCheck check = CheckRomPath(folder.Write("small.rom", Header("OMNO", 0, 0x45)));
    EXPECT_TRUE(check.verdict == RomVerdict::WrongSize && check.length == 0x40);
}

// Digits up to the first non-digit after an optional 0x, keeping the low 32 bits; names and
// description lines are keyed by their first six characters only.
TEST(ParseHex, ValuesAndSixCharacterKeys) {
    const char* texts[] = {"0x1F", "0X1f", "AbC",    "1G2",      "",          "0x",
                           "x12",  " 12",  "0x0x12", "FFFFFFFF", "123456789", "1FFFFFFFF"};
    const std::uint32_t values[] = {31, 31, 0xABC, 1, 0, 0, 0, 0, 0, ~0u, 0x23456789u, ~0u};
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(ParseHex(texts[i]), values[i]) << texts[i];
    const std::pair<const char*, std::uint32_t> keys[] = {
        {"00FF00 wall.bmp", 0xFF00}, {"ABCDEF12", 0xABCDEF}, {"1A2B wall", 0x1A2B},
        {"0x1F2233", 0x1F22},        {"12345", 0x12345},     {"\n", 0}};
    for (const auto& [text, value] : keys)
        EXPECT_EQ(DescriptionKey(text), value) << text;
}

// Pieces of at most 99 characters (a file's below); CR LF reads as LF, a lone CR is an ordinary
// character, a NUL ends the text of its piece but counts towards the 99.
TEST(DescriptionLines, SplitIntoPiecesOfAtMost99Characters) {
    const std::string x98(98, 'x'), x99(99, 'x');
    const std::pair<std::string, Lines> cases[] = {{"", {}},
                                                   {"a\rb\r", {"a\rb\r"}},
                                                   {x98 + "\r\n", {x98 + "\n"}},
                                                   {x99 + "\n", {x99, "\n"}},
                                                   {x99 + x99 + "ab", {x99, x99, "ab"}},
                                                   {"ab\0cd\nef\n\0"s, {"ab", "ef\n", ""}},
                                                   {"a\0"s + x98.substr(1) + "c\n", {"a", "c\n"}},
                                                   {"\xff\x01\n\x80"s, {"\xff\x01\n", "\x80"}}};
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(SplitDescriptionLines(bytes), lines) << testing::PrintToString(bytes);
    TempFolder folder;
    EXPECT_EQ(ReadDescriptionFile(folder.WriteText("0808.ini", "01A2B0 wall\r\n\nx")),
              (Lines{"01A2B0 wall\n", "\n", "x"}));
    EXPECT_EQ(ReadDescriptionFile(folder / "missing.ini"), std::nullopt);
    EXPECT_EQ(ReadDescriptionFile(folder.Path()), std::nullopt);  // opens but cannot be read
}

// Well-formed UTF-8 stays as it is; anything else is Windows-1252, whose 0x80 to 0x9F row is not
// Latin-1's and whose five undefined bytes become U+FFFD.
TEST(DescriptionLines, ReadAsUtf8WhenValidElseAsWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"caf\xE9", "caf\xC3\xA9"},                            // Latin-1 range
        {"\x80\x93\x9F", "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8"},  // euro, left quote, Y diaeresis
        {"\x81\x8D\x8F\x90\x9D",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},      // undefined
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                      // overlong slash
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                      // surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC"},  // above U+10FFFF
        {"\xC3", "\xC3\x83"},                                                  // cut short
    };
    TempFolder folder;
    for (const auto& [bytes, utf8] : cases) {
        const auto lines = ReadDescriptionFile(folder.WriteText("d.ini", bytes));
        EXPECT_EQ(lines, Lines{utf8}) << testing::PrintToString(bytes);
    }
    // A byte order mark is dropped, and a 99-character cut never splits a character.
    const std::string e99 = [] {
        std::string text;
        for (int i = 0; i < 99; ++i)
            text += "\xC3\xA9";
        return text;
    }();
    EXPECT_EQ(ReadDescriptionFile(folder.WriteText("d.ini", "\xEF\xBB\xBF" + e99 + "x")),
              (Lines{e99, "x"}));
    EXPECT_EQ(ReadDescriptionFile(folder.WriteText("d.ini", std::string(98, 'x') + "\xE9y")),
              (Lines{std::string(98, 'x') + "\xC3\xA9", "y"}));
}

// The later of two lines with one key wins; keys may have fewer than six digits; a 99-character
// cut starts a line with its own key; slots past the entry count are left alone.
TEST(DescriptionLines, WholeLineGoesToTheFirstLoadedEntryWithItsKey) {
    auto record = std::make_unique<SizeClassRecord>();
    record->description.fill(NO_DESCRIPTION);
    const std::uint32_t offsets[] = {0x1A2B0, 0xFF00, 0x1A2B0, 0x1A2B, 0xABCDEF};
    std::copy(std::begin(offsets), std::end(offsets), record->romOffset.begin());
    record->entryCount = 4;
    AssignDescriptions(*record, SplitDescriptionLines("01a2b0 first\n01A2B0 Brick wall\nABCDEF "
                                                      "beyond\n777777 x\n\n1A2B wall\r\n123456" +
                                                      std::string(93, '.') + "00ff00 tail"));
    const std::string expected[] = {"01A2B0 Brick wall\n", "00ff00 tail", NO_DESCRIPTION,
                                    "1A2B wall\n", NO_DESCRIPTION};
    for (std::size_t k = 0; k < std::size(expected); ++k)
        EXPECT_EQ(record->description[k], expected[k]) << k;
}
