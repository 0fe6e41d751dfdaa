#include "catalogue/FolderListing.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

TEST(FolderListing, WildcardsIgnoreCase) {
    for (const char* name : {"A.BMP", "x.bmp.bak", ".bmp", "a.bmp.bmp"})
        EXPECT_TRUE(WildcardMatch("*.bmp*", name)) << name;
    for (const char* name : {"bmp", "a.bmx", "abmp", ""})
        EXPECT_FALSE(WildcardMatch("*.bmp*", name)) << name;
    EXPECT_TRUE(WildcardMatch("?.ini", "a.INI") && WildcardMatch("a*b*c", "aXbYbZc") &&
                WildcardMatch("*", ""));
    EXPECT_FALSE(WildcardMatch("?.ini", "ab.ini") || WildcardMatch("a*b*c", "aXbYbZ"));
}

// Catalogues unpacked elsewhere may spell folders and files in any case; the exact spelling
// wins, and missing parts stay as written so that they can be created there.
TEST(FolderListing, PathsResolvedIgnoringCase) {
    TempFolder base;
    base.WriteText("ROMIMAGES/08 08/0808.INI", "");
    std::filesystem::create_directories(base / "ROMIMAGES/USER");
    std::filesystem::create_directories(base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\08 08\\0808.ini"),
              base / "ROMIMAGES/08 08/0808.INI");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\User\\"), base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\USER\\x.bmp"),
              base / "ROMIMAGES/USER/x.bmp");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\RomImages\\80 10G\\8010G.ini"),
              base / "ROMIMAGES/80 10G/8010G.ini");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), ""), base.Path());
}

// Regular files only, sorted ignoring case (names equal but for case in a fixed order), with
// their titles; a folder that cannot be listed says so.
TEST(FolderListing, MatchingFilesSortedWithTitles) {
    TempFolder folder;
    for (const char* name : {"B.bmp", "c.bmp.bak", "a.bmp", "notes.txt", "A.BMP", "01A2B0 x.bmp"})
        folder.WriteText(name, "x");
    std::filesystem::create_directory(folder / "d.bmp");
    std::string listed;
    const FolderListing listing = ListMatching(folder.Path(), "*.bmp*");
    for (const auto& match : listing.matches) {
        EXPECT_EQ(match.fullPath, folder / match.name);
        listed += match.name + "=" + match.title + "|";
    }
    EXPECT_EQ(listed, "01A2B0 x.bmp=01A2B0 x|A.BMP=A|a.bmp=a|B.bmp=B|c.bmp.bak=c.bmp|");
    EXPECT_TRUE(listing.readable);
    for (const auto& path : {folder / "missing", folder / "a.bmp"}) {
        const FolderListing refused = ListMatching(path, "*");
        EXPECT_FALSE(refused.readable || !refused.matches.empty()) << path;
    }
}
