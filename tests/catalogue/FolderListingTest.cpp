#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/FolderListing.h"

TEST(FolderListing, WildcardMatchIgnoresCase) {
    for (const char* name : {"A.BMP", "x.bmp.bak", ".bmp", "wall.Bmp", "a.bmp.bmp"}) {
        EXPECT_TRUE(WildcardMatch("*.bmp*", name)) << name;
    }
    for (const char* name : {"bmp", "a.bmx", "abmp", "a.bm", ""}) {
        EXPECT_FALSE(WildcardMatch("*.bmp*", name)) << name;
    }
    EXPECT_TRUE(WildcardMatch("?.ini", "a.INI"));
    EXPECT_FALSE(WildcardMatch("?.ini", "ab.ini"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(WildcardMatch("a*b*c", "aXbYbZ"));
    EXPECT_TRUE(WildcardMatch("*", ""));
}

TEST(FolderListing, ResolvePathIgnoringCase) {
    TempFolder base;
    base.WriteText("ROMIMAGES/08 08/0808.INI", "");
    std::filesystem::create_directories(base / "ROMIMAGES/USER");
    std::filesystem::create_directories(base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\08 08\\0808.ini"),
              base / "ROMIMAGES/08 08/0808.INI");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "romImages/08 08/"), base / "ROMIMAGES/08 08");
    // The exact spelling wins over other case variants.
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\User\\"), base / "ROMIMAGES/User");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\romimages\\USER\\x.bmp"),
              base / "ROMIMAGES/USER/x.bmp");
    // Missing components stay as written, also below a missing folder.
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), "\\RomImages\\80 10G\\8010G.ini"),
              base / "ROMIMAGES/80 10G/8010G.ini");
    EXPECT_EQ(ResolvePathIgnoringCase(base.Path(), ""), base.Path());
}

TEST(FolderListing, ListMatchingSortedRegularFilesWithTitles) {
    TempFolder folder;
    for (const char* name : {"B.bmp", "c.bmp.bak", "a.bmp", "notes.txt", "bmp", "A.BMP",
                             "00FF00 wall.bmp", "01A2B0.bmp"}) {
        folder.WriteText(name, "x");
    }
    std::filesystem::create_directory(folder / "d.bmp");  // folders are never entries
    const FolderListing listing = ListMatching(folder.Path(), "*.bmp*");
    EXPECT_TRUE(listing.readable);
    // Sorted ignoring case; names equal but for case in a fixed order.
    const std::pair<std::string, std::string> expected[] = {{"00FF00 wall.bmp", "00FF00 wall"},
                                                            {"01A2B0.bmp", "01A2B0"},
                                                            {"A.BMP", "A"},
                                                            {"a.bmp", "a"},
                                                            {"B.bmp", "B"},
                                                            {"c.bmp.bak", "c.bmp"}};
    ASSERT_EQ(listing.matches.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(listing.matches[i].name, expected[i].first);
        EXPECT_EQ(listing.matches[i].title, expected[i].second);
        EXPECT_EQ(listing.matches[i].fullPath, folder / expected[i].first);
    }
}

TEST(FolderListing, ListMatchingReportsUnreadableFolders) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "empty");
    const FolderListing empty = ListMatching(folder / "empty", "*.bmp*");
    EXPECT_TRUE(empty.readable);
    EXPECT_TRUE(empty.matches.empty());
    for (const auto& path : {folder / "missing", folder.WriteText("file.bmp", "x")}) {
        const FolderListing listing = ListMatching(path, "*");
        EXPECT_FALSE(listing.readable) << path;
        EXPECT_TRUE(listing.matches.empty());
    }
}
