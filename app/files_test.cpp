#include "app/files.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Every entry of `pattern` as its path below `dir`, a folder's with a "/" after it,
// and a folder's own entries right after it.
std::string ListAll(const TempDir& dir, const std::string& pattern) {
  std::string seen;
  std::string entryPath;
  bool isFolder = false;
  FolderSearch search;
  while (NextFolderEntry(dir / pattern, entryPath, isFolder, search)) {
    seen += entryPath.substr(dir.path().size() + 1) + (isFolder ? "/ " : " ");
    if (isFolder) {
      seen += ListAll(dir, entryPath.substr(dir.path().size() + 1) + "/*.*");
    }
  }
  return seen;
}

TEST(NextFolderEntry, ListsNestedFoldersInNtfsOrderWithFolderFlags) {
  TempDir dir;
  // Made in an order unlike the expected one, so the file system's order cannot pass.
  for (const char* name :
       {"Trip/Z.jpg", "Trip/y.jpg", "sun.gif", "_x", "dog.JPG", "åsa.jpg", "a", "beach.jpg", "A"}) {
    dir.Write(name, "");
  }
  dir.MakeFolder("b");
  EXPECT_EQ(ListAll(dir, "*.*"),
            "A a b/ beach.jpg dog.JPG sun.gif Trip/ Trip/y.jpg Trip/Z.jpg _x åsa.jpg ");
}

TEST(NextFolderEntry, EmptyAndMissingFoldersEndAtOnce) {
  TempDir dir;
  dir.MakeFolder("empty");
  EXPECT_EQ(ListAll(dir, "empty/*.*"), "");
  EXPECT_EQ(ListAll(dir, "missing/*.*"), "");
}

// Without windows a fatal message goes to standard error.
TEST(WholeFile, ReadAndWriteAreByteExactAndReplaceALongerFile) {
  TempDir dir;
  const std::string bytes("line one\r\nline\0two\r\n\xe5\xe4\xf6\n", 25);
  const std::string path = dir.Write("bytes.html", std::string(1000, 'x'));
  WriteWholeFile(RunState{}, path, bytes);
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(ReadWholeFile(RunState{}, path), bytes);
}

TEST(WholeFileDeathTest, FailuresAreFatalWithTheirMessages) {
  TempDir dir;
  const RunState run;
  const std::string empty = dir.Write("empty.html", "");
  EXPECT_EXIT(ReadWholeFile(run, dir / "missing.html"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to open file: " + dir / "missing.html");
  EXPECT_EXIT(ReadWholeFile(run, empty), testing::ExitedWithCode(1),
              "Fatal Error: Failed to read file: " + empty);
  EXPECT_EXIT(WriteWholeFile(run, dir / "no/such/folder.html", "x"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to create file: " + dir / "no/such/folder.html");
  EXPECT_EXIT(WriteWholeFile(run, dir / "new.html", ""), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + dir / "new.html");
}

// A full disk often shows only when the buffer is flushed or the file closed.
TEST(WholeFileDeathTest, AFullDiskIsFatalNotSuccess) {
  TempDir dir;
  const RunState run;
  const std::string mountPoint = dir.MakeFolder("small");
  if (geteuid() != 0 || mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full-disk case not run";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { umount(at.c_str()); }
  } unmount{mountPoint};
  const std::string path = mountPoint + "/page.html";
  EXPECT_EXIT(WriteWholeFile(run, path, std::string(1 << 20, 'x')), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + path);
  // A page that fits the buffer but not the disk: the write itself succeeds.
  std::remove(path.c_str());
  dir.Write("small/filler", std::string(64 * 1024, 'f'));  // fills the disk
  EXPECT_EXIT(WriteWholeFile(run, path, std::string(3000, 'y')), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + path);
}

}  // namespace
