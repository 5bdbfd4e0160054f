// The file work under the storage code: directories with their parents,
// whole-file reads and their errors, copies, scratch directories and the
// lock file, each against a
// fresh directory and, where the system cannot be made to fail, a failing
// file operations table.
#include "platform/storage/AtomicFile.h"
#include "platform/storage/CFileLock.h"
#include "platform/storage/FileOps.h"
#include "platform/storage/TempDirectory.h"
#include "support/CFailingFileOps.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace {

class Files : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_temp / name).string(); }

    CTempDir m_temp{"orb_files"};
};

TEST_F(Files, DirectoriesAreMadeWithTheirParentsUnlessSomethingIsInTheWay) {
    ASSERT_TRUE(m_temp.WriteBytes("file", "x"));
    ASSERT_TRUE(std::filesystem::create_directory(m_temp / "here"));
    struct Case {
        std::string path; // under the test directory
        int error;
    };
    const Case cases[] = {
        {"a/b/c", 0},
        {"here", 0},
        {"here/d//e/", 0},
        {"a/b/c/../f", 0},
        {"file", ENOTDIR},
        {"file/g", ENOTDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = PathOf(c.path);
        EXPECT_EQ(MakeDirectories(path), c.error);
        EXPECT_EQ(std::filesystem::is_directory(path), c.error == 0);
    }
    EXPECT_EQ(MakeDirectories(""), ENOENT);
    EXPECT_EQ(MakeDirectories("/"), 0);
}

TEST_F(Files, AMissingDirectoryThatCannotBeMadeReportsTheSystemsError) {
    CFailingFileOps disk({"read-only file system", FileOp::MakeDirectory, EROFS});
    EXPECT_EQ(MakeDirectories(PathOf("new/inner")), EROFS);
    EXPECT_EQ(disk.Failures(), 1);
    EXPECT_EQ(MakeDirectories(m_temp.Path().string()), 0); // already there: nothing to make
    EXPECT_FALSE(std::filesystem::exists(PathOf("new")));
}

TEST_F(Files, AWholeFileReadTellsAMissingFileFromOneThatCannotBeRead) {
    ASSERT_TRUE(m_temp.WriteBytes("data", std::string(20000, 'z')));
    ASSERT_TRUE(std::filesystem::create_directory(m_temp / "dir"));
    int error = -1;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(PathOf("data"), &error);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 20000u); // more than one chunk
    EXPECT_EQ(error, 0);

    EXPECT_FALSE(ReadWholeFile(PathOf("missing"), &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadWholeFile(PathOf("dir"), &error));
    EXPECT_EQ(error, EISDIR);
    CFailingFileOps disk({"bad sector", FileOp::Read, EIO});
    EXPECT_FALSE(ReadWholeFile(PathOf("data"), &error));
    EXPECT_EQ(error, EIO);
}

TEST_F(Files, ACopyReplacesItsTargetOrLeavesItAndAScratchDirectoryGoesWithWhatItHolds) {
    ASSERT_TRUE(m_temp.WriteBytes("from", "new"));
    ASSERT_TRUE(m_temp.WriteBytes("to", "old"));
    {
        CFailingFileOps disk({"disk full", FileOp::Write, ENOSPC});
        EXPECT_FALSE(CopyFileAtomically(PathOf("from"), PathOf("to")));
    }
    EXPECT_FALSE(CopyFileAtomically(PathOf("missing"), PathOf("to")));
    EXPECT_EQ(m_temp.ReadText("to"), "old");
    EXPECT_TRUE(CopyFileAtomically(PathOf("from"), PathOf("to")));
    EXPECT_EQ(m_temp.ReadText("to"), "new");

    const std::string scratch = MakeTempDirectory("orb_scratch");
    ASSERT_FALSE(scratch.empty());
    EXPECT_EQ(std::filesystem::status(scratch).permissions(), std::filesystem::perms::owner_all);
    ASSERT_EQ(MakeDirectories(scratch + "/a/b"), 0);
    ASSERT_TRUE(WriteFileAtomically(scratch + "/a/b/f", "x", 1));
    EXPECT_TRUE(RemoveDirectoryTree(scratch));
    EXPECT_FALSE(std::filesystem::exists(scratch));
    EXPECT_TRUE(RemoveDirectoryTree(scratch)) << "nothing left to remove is no failure";
}

TEST_F(Files, ALockIsHeldOnceAndAFailureToLockIsNotTakenForAnotherHolder) {
    const std::string path = PathOf("lock");
    CFileLock first;
    ASSERT_EQ(first.TryLock(path), CFileLock::Result::Acquired);
    CFileLock second;
    EXPECT_EQ(second.TryLock(path), CFileLock::Result::Held);
    first.Release();

    for (FileFault fault : {FileFault{"read-only file system", FileOp::OpenForLocking, EROFS},
                            FileFault{"locks not supported", FileOp::TryLock, ENOLCK}}) {
        SCOPED_TRACE(fault.what);
        CFailingFileOps disk(fault);
        EXPECT_EQ(second.TryLock(path), CFileLock::Result::Failed);
        EXPECT_FALSE(second.IsHeld());
    }
    EXPECT_EQ(second.TryLock(path), CFileLock::Result::Acquired);
}

} // namespace
