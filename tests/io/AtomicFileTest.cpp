#include "io/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "TempFolder.h"
#include "io/FileOps.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::filesystem::path>;

// Names in the folder, so that a temporary file left behind shows.
Names Entries(const std::filesystem::path& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

bool Says(const FileWriteResult& result, const std::string& words) {
    return result.error.find(words) != std::string::npos;
}

}  // namespace

TEST(AtomicWrite, CreatesAndReplacesKeepingPermissionsAndForcesTwice) {
    TempFolder folder;
    const auto target = folder / "out.bin";
    ASSERT_TRUE(WriteFileAtomically(target, Bytes{1, 2, 3}).ok);
    EXPECT_EQ(ReadAllBytes(target), (Bytes{1, 2, 3}));
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(target, mode);
    {
        ScopedFileFault syncs(0, 0, FileOp::Sync);  // the file, then its folder
        const FileWriteResult shorter = WriteFileAtomically(target, Bytes{9});
        ASSERT_TRUE(shorter.ok) << shorter.error;
        EXPECT_TRUE(shorter.error.empty());
        EXPECT_EQ(syncs.Seen(), 2);
    }
    EXPECT_EQ(ReadAllBytes(target), Bytes{9});
    EXPECT_EQ(std::filesystem::status(target).permissions(), mode);
    EXPECT_EQ(Entries(folder.Path()), Names{"out.bin"});
}

TEST(AtomicWrite, FileSystemsWithoutHardLinksStillGetTheReplacement) {
    TempFolder folder;
    const auto target = folder.Write("out.bin", Bytes{1, 2});
    for (const int error : {EPERM, EOPNOTSUPP, EXDEV}) {
        ScopedFileFault noLinks(1, error, FileOp::Link);
        ASSERT_TRUE(WriteFileAtomically(target, Bytes{3}).ok);
        EXPECT_TRUE(noLinks.Fired());
    }
    EXPECT_EQ(ReadAllBytes(target), Bytes{3});
    EXPECT_EQ(Entries(folder.Path()), Names{"out.bin"});
}

// Every step of replacing a file, and of creating one, fails in turn with each error: the error
// names the file, the step and the reason; the old file (or no file) is left, and nothing else.
TEST(AtomicWriteFailure, EachStepFailingLeavesTheOldFileAndNoTemporary) {
    const std::vector<std::string> replacing = {
        "creating a temporary file", "writing the temporary", "forcing the temporary",
        "closing the temporary",     "opening its folder",    "keeping the old file",
        "renaming the temporary",    "forcing its folder",    "removing the old file's"};
    for (const bool existed : {true, false}) {
        TempFolder folder;
        const auto target = folder / "out.bin";
        std::vector<std::string> steps = replacing;
        if (!existed) {
            steps = {steps[0], steps[1], steps[2], steps[3], steps[4], steps[6], steps[7]};
        }
        for (std::size_t k = 1; k <= steps.size(); ++k) {
            for (const int error : {ENOSPC, EIO, EACCES}) {
                if (existed) {
                    folder.Write("out.bin", Bytes{1, 2, 3});
                }
                ScopedFileFault fault(static_cast<int>(k), error);
                const FileWriteResult result = WriteFileAtomically(target, Bytes(100, 7));
                EXPECT_TRUE(fault.Fired());
                EXPECT_FALSE(result.ok) << k;
                EXPECT_TRUE(Says(result, "\"" + target.string() + "\"")) << result.error;
                EXPECT_TRUE(Says(result, steps[k - 1])) << result.error;
                EXPECT_TRUE(Says(result, std::generic_category().message(error))) << result.error;
                EXPECT_EQ(Entries(folder.Path()), existed ? Names{"out.bin"} : Names{}) << k;
                if (existed) {
                    EXPECT_EQ(ReadAllBytes(target), (Bytes{1, 2, 3})) << result.error;
                }
            }
        }
        ScopedFileFault none(static_cast<int>(steps.size()) + 1);
        EXPECT_TRUE(WriteFileAtomically(target, Bytes(100, 7)).ok);
        EXPECT_FALSE(none.Fired());
    }
}

TEST(FileOverwriting, SameLengthOnlyForcedAndEachStepReported) {
    TempFolder folder;
    const auto file = folder.Write("scratch.bin", {1, 2, 3});
    const Bytes same{7, 8, 9};
    {
        ScopedFileFault syncs(0, 0, FileOp::Sync);
        EXPECT_TRUE(OverwriteFileInPlace(file, same).ok);
        EXPECT_EQ(syncs.Seen(), 1);
    }
    EXPECT_EQ(ReadAllBytes(file), same);
    EXPECT_TRUE(Says(OverwriteFileInPlace(file, Bytes{1, 2}), "same length"));
    EXPECT_EQ(ReadAllBytes(file), same);
    EXPECT_FALSE(OverwriteFileInPlace(folder / "missing", same).ok);
    const char* steps[] = {"opening", "writing", "forcing", "closing"};
    for (int k = 1; k <= 4; ++k) {
        ScopedFileFault fault(k, EIO);
        EXPECT_TRUE(Says(OverwriteFileInPlace(file, Bytes{4, 5, 6}), steps[k - 1])) << k;
    }
    EXPECT_EQ(Entries(folder.Path()), Names{"scratch.bin"});
}

TEST(FolderAndEmptyFileCreation, MadeOnceAndFailuresReported) {
    TempFolder folder;
    EXPECT_TRUE(CreateFolders(folder / "a" / "b").ok);
    EXPECT_TRUE(CreateFolders(folder / "a" / "b").ok);
    EXPECT_TRUE(CreateEmptyFileIfMissing(folder / "a" / "e.ini").ok);
    EXPECT_EQ(std::filesystem::file_size(folder / "a" / "e.ini"), 0u);
    folder.Write("a/f.ini", Bytes{1});
    EXPECT_TRUE(CreateEmptyFileIfMissing(folder / "a" / "f.ini").ok);
    EXPECT_EQ(ReadAllBytes(folder / "a" / "f.ini"), Bytes{1});
    EXPECT_FALSE(CreateEmptyFileIfMissing(folder / "none" / "g.ini").ok);
    for (int k = 1; k <= 3; ++k) {  // make the folder, open its parent, force the parent
        ScopedFileFault fault(k, EACCES);
        EXPECT_TRUE(Says(CreateFolders(folder / "c"), "Permission denied")) << k;
        std::filesystem::remove(folder / "c");
    }
    ScopedFileFault fault(1, ENOSPC);
    EXPECT_TRUE(Says(CreateEmptyFileIfMissing(folder / "g.ini"), "No space left"));
    // A missing folder or a missing file name: nothing is created.
    EXPECT_TRUE(Says(WriteFileAtomically(folder / "none" / "out.bin", Bytes{1}), "out.bin"));
    EXPECT_FALSE(WriteFileAtomically(folder.Path() / "", Bytes{1}).ok);
    EXPECT_EQ(Entries(folder.Path()), Names{"a"});
}
