#include "catalogue/DescriptionFile.h"

#include <gtest/gtest.h>

#include <memory>

#include "TempFolder.h"

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Pieces of at most 99 characters; CR LF reads as LF, a lone CR is an ordinary character, a NUL
// ends the text of its piece but counts towards the 99.
TEST(DescriptionLines, SplitIntoPiecesOfAtMost99Characters) {
    const std::string x98(98, 'x'), x99(99, 'x');
    const std::pair<std::string, Lines> cases[] = {{"", {}},
                                                   {"a\nb", {"a\n", "b"}},
                                                   {"a\n\n", {"a\n", "\n"}},
                                                   {"a\r\nb\r\n", {"a\n", "b\n"}},
                                                   {"a\rb\r", {"a\rb\r"}},
                                                   {x98 + "\r\n", {x98 + "\n"}},
                                                   {x99 + "\n", {x99, "\n"}},
                                                   {x99 + x99 + "ab", {x99, x99, "ab"}},
                                                   {"ab\0cd\nef"s, {"ab", "ef"}},
                                                   {"a\n\0"s, {"a\n", ""}},
                                                   {"a\0"s + x98.substr(1) + "c\n", {"a", "c\n"}},
                                                   {"\xff\x01\n\x80"s, {"\xff\x01\n", "\x80"}}};
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(SplitDescriptionLines(bytes), lines) << testing::PrintToString(bytes);
    TempFolder folder;
    EXPECT_EQ(ReadDescriptionFile(folder.WriteText("0808.ini", "01A2B0 wall\r\nx")),
              (Lines{"01A2B0 wall\n", "x"}));
    EXPECT_EQ(ReadDescriptionFile(folder / "missing.ini"), std::nullopt);
    std::optional<Lines> unreadable;  // a folder opens but cannot be read: no throw
    EXPECT_NO_THROW(unreadable = ReadDescriptionFile(folder.Path()));
    EXPECT_EQ(unreadable, std::nullopt);
}

// The later of two lines with one key wins; keys may have fewer than six digits; a 99-character
// cut starts a line with its own key; slots past the entry count are left alone.
TEST(DescriptionLines, WholeLineGoesToTheFirstLoadedEntryWithItsKey) {
    auto record = std::make_unique<SizeClassRecord>();
    record->description.fill(NO_DESCRIPTION);
    const std::uint32_t offsets[] = {0x1A2B0, 0xFF00, 0x1A2B0, 0x1A2B, 0xABCDEF};
    std::copy(std::begin(offsets), std::end(offsets), record->romOffset.begin());
    record->entryCount = 4;
    AssignDescriptions(
        *record,
        SplitDescriptionLines(
            "01a2b0 first\n01A2B0 Brick wall\nABCDEF beyond\n777777 x\n\n1A2B wall\r\n123456" +
            std::string(93, '.') + "00ff00 tail"));
    const std::string expected[] = {"01A2B0 Brick wall\n", "00ff00 tail", NO_DESCRIPTION,
                                    "1A2B wall\n", NO_DESCRIPTION};
    for (std::size_t k = 0; k < std::size(expected); ++k)
        EXPECT_EQ(record->description[k], expected[k]) << k;
}
