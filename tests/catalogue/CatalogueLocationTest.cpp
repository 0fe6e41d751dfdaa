#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/CatalogueLocation.h"

// XDG_DATA_HOME wins when absolute, else HOME; the executable's folder comes first, never twice.
TEST(CatalogueLocation, CandidatesFromTheEnvironmentTable) {
    using P = std::vector<std::filesystem::path>;
    const std::string share = "/h/.local/share/MGROMImageEditor", bin = "/usr/bin";
    const std::tuple<std::string, std::string, std::string, P> cases[] = {
        {bin, "/x", "/h", {bin, "/x/MGROMImageEditor"}},
        {bin, "", "/h", {bin, share}},
        {bin, "x", "/h", {bin, share}},
        {bin, "x", "h", {bin}},
        {"/x/MGROMImageEditor/", "/x", "", {"/x/MGROMImageEditor/"}}};
    for (const auto& [exe, xdg, home, expected] : cases) {
        EXPECT_EQ(CatalogueCandidates(exe, xdg, home), expected) << xdg << " " << home;
    }
}

// The first with a romimages folder (any case) wins; with none, the executable's folder.
TEST(CatalogueLocation, FirstFolderHoldingRomimages) {
    const TempFolder home;
    const auto exe = home / "bin", user = home / ".local/share/MGROMImageEditor";
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.Path().string()), exe);
    // An installed program's folder: a catalogue built from the user's ROM goes to their folder.
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.Path().string(), false), user);
    std::filesystem::create_directories(user / "ROMIMAGES");
    home.WriteText("bin/romimages", "a file, not a folder");
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.Path().string()), user);
    std::filesystem::remove(exe / "romimages");
    std::filesystem::create_directories(exe / "romimages");
    EXPECT_EQ(FindCatalogueFolder(exe, "", home.Path().string()), exe);
}
