#include "engine/working_folder.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A folder left by a killed program: its lock file is there but nobody holds it.
void LeaveStaleFolder(const fs::path& folder) {
    fs::create_directory(folder);
    test::WriteBytes(folder / "tessaly.lock", {});
}

TEST(WorkingFolder, OnlyFoldersWhoseLockNobodyHoldsAreStale) {
    const test::TempDir dir;
    LeaveStaleFolder(dir / "tessaly-dead01");
    fs::create_directory(dir / "tessaly-nolock");  // its program may be about to lock it
    LeaveStaleFolder(dir / "other-dead02");        // not ours
    const WorkingFolder running(dir.Path());
    ASSERT_TRUE(running.IsValid()) << running.Error();
    EXPECT_TRUE(fs::exists(fs::path(running.Path()) / "tessaly.lock"));

    EXPECT_EQ(StaleWorkingFolders(dir.Path()), std::vector<fs::path>{dir / "tessaly-dead01"});
    RemoveStaleWorkingFolders(dir.Path());
    EXPECT_FALSE(fs::exists(dir / "tessaly-dead01"));
    EXPECT_TRUE(fs::exists(running.Path()));
    EXPECT_TRUE(fs::exists(dir / "tessaly-nolock"));
}

TEST(WorkingFolder, IsRemovedWithItsObjectAndThenNotLocked) {
    const test::TempDir dir;
    std::string path;
    {
        const WorkingFolder folder(dir.Path());
        path = folder.Path();
        const int fd = open((fs::path(path) / "tessaly.lock").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);  // another open description: the folder's lock conflicts
        close(fd);
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace tessaly
