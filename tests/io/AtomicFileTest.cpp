#include "io/AtomicFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Names in the folder, so that a temporary file left behind shows.
std::vector<std::filesystem::path> Entries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

}  // namespace

// --- Successful writes --------------------------------------------------------------------------

TEST(AtomicWrite, CreatesAndReplacesWithoutLeavingATemporary) {
    TempFolder folder;
    const auto target = folder / "out.bin";
    const FileWriteResult created = WriteFileAtomically(target, Bytes{1, 2, 3});
    ASSERT_TRUE(created.ok) << created.error;
    EXPECT_TRUE(created.error.empty());
    EXPECT_EQ(ReadAllBytes(target), (Bytes{1, 2, 3}));

    ASSERT_TRUE(WriteFileAtomically(target, Bytes{9}).ok);  // shorter: no old bytes remain
    EXPECT_EQ(ReadAllBytes(target), Bytes{9});
    ASSERT_TRUE(WriteFileAtomically(target, Bytes{}).ok);
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::filesystem::path>{"out.bin"});
}

TEST(AtomicWrite, ReplacementKeepsThePermissionsOfTheReplacedFile) {
    TempFolder folder;
    const auto target = folder.Write("out.bin", Bytes{1});
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(target, mode);
    ASSERT_TRUE(WriteFileAtomically(target, Bytes{2}).ok);
    EXPECT_EQ(std::filesystem::status(target).permissions(), mode);
}

// --- Failures leave the destination as it was ---------------------------------------------------

TEST(AtomicWriteFailure, MissingFolderIsReportedAndNothingIsCreated) {
    TempFolder folder;
    const auto target = folder / "missing" / "out.bin";
    const FileWriteResult result = WriteFileAtomically(target, Bytes{1});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("out.bin"), std::string::npos) << result.error;
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_TRUE(Entries(folder.Path()).empty());
}

TEST(AtomicWriteFailure, DestinationThatCannotBeReplacedIsLeftUntouched) {
    TempFolder folder;
    // A non-empty folder stands where the file would go: the rename fails after the write.
    const auto target = folder.Write("out.bin/kept.txt", Bytes{7}).parent_path();
    const FileWriteResult result = WriteFileAtomically(target, Bytes{1, 2});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(ReadAllBytes(target / "kept.txt"), Bytes{7});
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::filesystem::path>{"out.bin"});
}

TEST(AtomicWriteFailure, PathWithoutAFileNameIsRefused) {
    TempFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder.Path() / "", Bytes{1}).ok);
    EXPECT_TRUE(Entries(folder.Path()).empty());
}
