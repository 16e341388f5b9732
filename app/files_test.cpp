#include "app/files.h"

#include <sys/mount.h>
#include <unistd.h>
#include <cstdio>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

std::vector<std::pair<std::string, bool>> ListAll(const std::string& pattern) {
  std::vector<std::pair<std::string, bool>> seen;
  std::string entryPath;
  bool isFolder = false;
  FolderSearch search;
  while (NextFolderEntry(pattern, entryPath, isFolder, search)) {
    seen.emplace_back(entryPath, isFolder);
  }
  return seen;
}

TEST(NextFolderEntry, ListsInNtfsOrderWithFolderFlags) {
  TempDir dir;
  // Made in an order unlike the expected one, so the file system's order cannot pass.
  dir.MakeFolder("Trip");
  dir.Write("sun.gif", "g");
  dir.Write("notes.txt", "t");
  dir.Write("dog.JPG", "j");
  dir.Write("beach.jpg", "j");
  const std::string base = dir.path() + "/";
  const std::vector<std::pair<std::string, bool>> expected = {{base + "beach.jpg", false},
                                                              {base + "dog.JPG", false},
                                                              {base + "notes.txt", false},
                                                              {base + "sun.gif", false},
                                                              {base + "Trip", true}};
  EXPECT_EQ(ListAll(base + "*.*"), expected);
}

TEST(NextFolderEntry, EmptyAndMissingFoldersEndAtOnce) {
  TempDir dir;
  dir.MakeFolder("empty");
  EXPECT_TRUE(ListAll(dir / "empty/*.*").empty());
  std::string entryPath;
  bool isFolder = true;
  FolderSearch search;
  EXPECT_FALSE(NextFolderEntry(dir / "missing/*.*", entryPath, isFolder, search));
  EXPECT_TRUE(entryPath.empty());
  EXPECT_TRUE(isFolder);
}

TEST(NextFolderEntry, WildcardNamesIgnoreLetterCase) {
  TempDir dir;
  dir.Write("mallar/Blå_index.html", "x");
  dir.Write("mallar/Enkel_INDEX.HTML", "x");
  dir.Write("mallar/Enkel_picture.html", "x");
  const auto seen = ListAll(dir / "mallar/*_index.html");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, dir / "mallar/Blå_index.html");
  EXPECT_EQ(seen[1].first, dir / "mallar/Enkel_INDEX.HTML");
}

TEST(NextFolderEntry, NestedListingsAreIndependent) {
  TempDir dir;
  dir.Write("a/x.jpg", "");
  dir.Write("a/y.jpg", "");
  dir.Write("b/z.jpg", "");
  dir.Write("c.jpg", "");
  std::vector<std::string> order;
  std::string outer;
  bool outerIsFolder = false;
  FolderSearch outerSearch;
  while (NextFolderEntry(dir / "*.*", outer, outerIsFolder, outerSearch)) {
    order.push_back(outer.substr(dir.path().size()));
    if (outerIsFolder) {
      for (const auto& [inner, isFolder] : ListAll(outer + "/*.*")) {
        order.push_back(inner.substr(dir.path().size()));
      }
    }
  }
  const std::vector<std::string> expected = {"/a", "/a/x.jpg", "/a/y.jpg",
                                             "/b", "/b/z.jpg", "/c.jpg"};
  EXPECT_EQ(order, expected);
}

TEST(FileExists, FilesAndFoldersExist) {
  TempDir dir;
  EXPECT_TRUE(FileExists(dir.path()));
  EXPECT_TRUE(FileExists(dir.Write("f.txt", "abc")));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_EQ(FileSize(dir / "f.txt"), 3);
  EXPECT_EQ(FileSize(dir / "missing"), 0);
}

class WholeFileTest : public testing::Test {
 protected:
  void SetUp() override { run_.Windows = &windows_; }
  TempDir dir_;
  RecordingWindows windows_;
  RunState run_;
};

TEST_F(WholeFileTest, ReadAndWriteAreByteExact) {
  const std::string bytes("line one\r\nline\0two\r\n\xe5\xe4\xf6\n", 25);
  const std::string path = dir_ / "bytes.html";
  WriteWholeFile(run_, path, bytes);
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(ReadWholeFile(run_, path), bytes);
}

TEST_F(WholeFileTest, WritingReplacesALongerFile) {
  const std::string path = dir_.Write("page.html", std::string(1000, 'x'));
  WriteWholeFile(run_, path, "short");
  EXPECT_EQ(ReadFileBytes(path), "short");
}

using WholeFileDeathTest = WholeFileTest;

TEST_F(WholeFileDeathTest, FailuresAreFatalWithTheirMessages) {
  const std::string empty = dir_.Write("empty.html", "");
  EXPECT_EXIT(ReadWholeFile(run_, dir_ / "missing.html"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to open file: " + dir_ / "missing.html");
  EXPECT_EXIT(ReadWholeFile(run_, empty), testing::ExitedWithCode(1),
              "Fatal Error: Failed to read file: " + empty);
  EXPECT_EXIT(WriteWholeFile(run_, dir_ / "no/such/folder.html", "x"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to create file: " + dir_ / "no/such/folder.html");
  EXPECT_EXIT(WriteWholeFile(run_, dir_ / "new.html", ""), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + dir_ / "new.html");
}

// A full disk often shows only when the buffer is flushed or the file closed.
TEST_F(WholeFileDeathTest, AFullDiskIsFatalNotSuccess) {
  const std::string mountPoint = dir_.MakeFolder("small");
  if (geteuid() != 0 || mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): full-disk case not run";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { umount(at.c_str()); }
  } unmount{mountPoint};
  const std::string path = mountPoint + "/page.html";
  EXPECT_EXIT(WriteWholeFile(run_, path, std::string(1 << 20, 'x')), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + path);
  // A page that fits the buffer but not the disk: the write itself succeeds.
  std::remove(path.c_str());
  dir_.Write("small/filler", std::string(64 * 1024, 'f'));  // fills the disk
  EXPECT_EXIT(WriteWholeFile(run_, path, std::string(3000, 'y')), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + path);
}

}  // namespace
