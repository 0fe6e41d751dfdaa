#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TempFolder.h"
#include "catalogue/DescriptionFile.h"

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(DescriptionLines, SplitIntoPiecesOfAtMost99Characters) {
    const std::string x98(98, 'x'), x99(99, 'x');
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\nb", {"a\n", "b"}},  // no final line break
        {"a\n\n", {"a\n", "\n"}},
        {"a\r\nb\r\n", {"a\n", "b\n"}},  // CR LF reads as LF
        {"a\rb\r", {"a\rb\r"}},          // a lone CR is an ordinary character
        {x98 + "\n", {x98 + "\n"}},      // exactly 99 with the line feed
        {x98 + "\r\n", {x98 + "\n"}},    // the CR of CR LF does not count
        {x99 + "\n", {x99, "\n"}},
        {x99 + x99 + "ab", {x99, x99, "ab"}},
        {"ab\0cd\nef"s, {"ab", "ef"}},  // NUL ends the text of its piece
        {"\0\n"s, {""}},
        {"a\n\0"s, {"a\n", ""}},
        {"a\0"s + x98.substr(1) + "c\n", {"a", "c\n"}},  // NULs count towards the 99
        {"\xff\x01\x7f\n\x80"s, {"\xff\x01\x7f\n", "\x80"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitDescriptionLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(DescriptionLines, ReadFromFile) {
    TempFolder folder;
    const auto path = folder.WriteText("0808.ini", "01A2B0 Brick wall\r\n00FF00 x");
    EXPECT_EQ(ReadDescriptionFile(path), (Lines{"01A2B0 Brick wall\n", "00FF00 x"}));
    EXPECT_EQ(ReadDescriptionFile(folder.WriteText("empty.ini", "")), Lines{});
    EXPECT_EQ(ReadDescriptionFile(folder / "missing.ini"), std::nullopt);
}

// A path that opens but cannot be read (here a folder) must not throw from the stream.
TEST(DescriptionLines, UnreadableFileGivesNullopt) {
    TempFolder folder;
    std::optional<Lines> lines;
    EXPECT_NO_THROW(lines = ReadDescriptionFile(folder.Path()));
    EXPECT_EQ(lines, std::nullopt);
}

TEST(DescriptionAssignment, WholeLineGoesToTheFirstLoadedEntryWithItsKey) {
    auto record = std::make_unique<SizeClassRecord>();
    record->description.fill(NO_DESCRIPTION);
    const std::uint32_t offsets[] = {0x1A2B0, 0xFF00, 0x1A2B0, 0x1A2B, 0xABCDEF};
    std::copy(std::begin(offsets), std::end(offsets), record->romOffset.begin());
    record->entryCount = 4;  // slot 4 is stale
    // The later of two lines with one key wins; keys may have fewer than six digits; a
    // 99-character cut starts a line with its own key.
    const std::string text = "01a2b0 first\n01A2B0 Brick wall\n" +
                             "ABCDEF beyond the count\n777777 unmatched\n\n1A2B wall\r\n"s +
                             "123456" + std::string(93, '.') + "00ff00 tail";
    AssignDescriptions(*record, SplitDescriptionLines(text));
    const std::string expected[] = {"01A2B0 Brick wall\n", "00ff00 tail", NO_DESCRIPTION,
                                    "1A2B wall\n", NO_DESCRIPTION};
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(record->description[k], expected[k]) << k;
    }
}
