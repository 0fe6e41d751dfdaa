#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/CatalogueLocation.h"

using Paths = std::vector<std::filesystem::path>;

// XDG_DATA_HOME wins when it is absolute; an empty or relative value falls back to HOME; the
// executable's own folder is searched first and never twice.
TEST(CatalogueLocation, CandidatesFromTheEnvironmentTable) {
    const struct {
        const char *exe, *xdg, *home;
        Paths expected;
    } cases[] = {
        {"/usr/bin", "/x/data", "/home/a", {"/usr/bin", "/x/data/MGROMImageEditor"}},
        {"/usr/bin", "", "/home/a", {"/usr/bin", "/home/a/.local/share/MGROMImageEditor"}},
        {"/usr/bin", "data", "/home/a", {"/usr/bin", "/home/a/.local/share/MGROMImageEditor"}},
        {"/usr/bin", "data", "home/a", {"/usr/bin"}},
        {"/usr/bin", "", "", {"/usr/bin"}},
        {"/x/data/MGROMImageEditor/", "/x/data", "", {"/x/data/MGROMImageEditor/"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CatalogueCandidates(c.exe, c.xdg, c.home), c.expected) << c.xdg << " " << c.home;
    }
}

// The first candidate with a romimages folder (in any case) is taken; with none, the
// executable's folder, where the load then reports the missing class folders.
TEST(CatalogueLocation, FirstFolderHoldingRomimages) {
    const TempFolder folder;
    const auto exe = folder / "bin", home = folder / "home";
    const auto user = home / ".local/share/MGROMImageEditor";
    std::filesystem::create_directories(exe);
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.string()), exe);
    std::filesystem::create_directories(user / "ROMIMAGES");
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.string()), user);
    folder.WriteText("bin/romimages", "a file, not a folder");
    EXPECT_EQ(FindCatalogueFolder(exe, "relative", home.string()), user);
    std::filesystem::remove(exe / "romimages");
    std::filesystem::create_directories(exe / "romimages");
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.string()), exe);
}
