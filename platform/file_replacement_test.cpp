#include "platform/file_replacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_support.h"

namespace {

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}

// Whatever happens before Commit, nothing half-made is seen: not beside the
// target, not in it; a page that did not change keeps its file and time stamp.
TEST(FileReplacement, ReplacesWholeOnlyAtCommitAndLeavesAnUnchangedFileAlone) {
  TempDir dir;
  const std::string page = dir.Write("p.html", "old");
  const std::string backup = dir / "backup.html";
  ASSERT_EQ(0, link(page.c_str(), backup.c_str()));
  chmod(page.c_str(), 0640);
  const struct stat before = StatusOf(page);
  {
    FileReplacement abandoned(page, FileReplacement::Mode::InPlaceWhenNew);
    std::fputs("half", abandoned.Stream());
  }
  EXPECT_EQ(ReplaceFileWhole(page, "old"), FileError::None);
  EXPECT_EQ(StatusOf(page).st_ino, before.st_ino);
  EXPECT_EQ(StatusOf(page).st_mtim.tv_nsec, before.st_mtim.tv_nsec);

  EXPECT_EQ(ReplaceFileWhole(page, "new"), FileError::None);
  EXPECT_EQ(ReadFileBytes(page), "new");
  EXPECT_EQ(ReadFileBytes(backup), "old");
  EXPECT_EQ(StatusOf(page).st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);

  // A new file written in place stays as far as it got; a folder is never replaced.
  {
    FileReplacement fresh(dir / "index.html", FileReplacement::Mode::InPlaceWhenNew);
    std::fputs("<html>", fresh.Stream());
  }
  EXPECT_EQ(ReadFileBytes(dir / "index.html"), "<html>");
  dir.MakeFolder("d.html");
  EXPECT_EQ(ReplaceFileWhole(dir / "d.html", "x"), FileError::IsAFolder);
}

}  // namespace
