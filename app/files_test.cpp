#include "app/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "tests/test_support.h"

namespace {

// Every entry of `pattern` as its path below `dir`, a folder's with a "/" after it.
std::string ListAll(const TempDir& dir, const std::string& pattern) {
  std::string seen;
  std::string entryPath;
  bool isFolder = false;
  FolderSearch search;
  while (NextFolderEntry(dir / pattern, entryPath, isFolder, search)) {
    seen += entryPath.substr(dir.path().size() + 1) + (isFolder ? "/ " : " ");
  }
  return seen;
}

TEST(NextFolderEntry, ListsInNtfsOrderWithFolderFlagsAndMatchesWildcards) {
  TempDir dir;
  // Made in an order unlike the expected one, so the file system's order cannot pass.
  // Nested walks are checked with sub-albums end to end.
  for (const char* name : {"Trip/Z.jpg", "sun.gif", "_x", "x.gif.gif", "dog.JPG", "åsa.jpg", "a",
                           "beach.jpg", ".gif", "A", "x.gif.bak"}) {
    dir.Write(name, "");
  }
  dir.MakeFolder("b");
  EXPECT_EQ(ListAll(dir, "*.*"),
            ".gif A a b/ beach.jpg dog.JPG sun.gif Trip/ x.gif.bak x.gif.gif _x åsa.jpg ");
  // Whole names, ignoring the case of ASCII letters only.
  EXPECT_EQ(ListAll(dir, "*.GIF"), ".gif sun.gif x.gif.gif ");
  EXPECT_EQ(ListAll(dir, "Å*"), "");
  EXPECT_EQ(ListAll(dir, "missing/*.*"), "");
}

// Without windows a fatal message goes to standard error.
TEST(WholeFileDeathTest, ByteExactOverALongerFileAndFailuresAreFatal) {
  TempDir dir;
  const RunState run;
  const std::string bytes("line one\r\nline\0two\r\n\xe5\xe4\xf6\n", 25);
  const std::string path = dir.Write("bytes.html", std::string(1000, 'x'));
  WriteWholeFile(run, path, bytes);
  EXPECT_EQ(ReadWholeFile(run, path), bytes);
  const std::string empty = dir.Write("empty.html", "");
  EXPECT_EXIT(ReadWholeFile(run, dir / "missing.html"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to open file: " + dir / "missing.html");
  EXPECT_EXIT(ReadWholeFile(run, dir.MakeFolder("folder.html")), testing::ExitedWithCode(1),
              "Fatal Error: Failed to open file: " + dir / "folder.html");
  EXPECT_EXIT(ReadWholeFile(run, empty), testing::ExitedWithCode(1),
              "Fatal Error: Failed to read file: " + empty);
  EXPECT_EXIT(WriteWholeFile(run, dir / "no/such/folder.html", "x"), testing::ExitedWithCode(1),
              "Fatal Error: Failed to create file: " + dir / "no/such/folder.html");
  EXPECT_EXIT(WriteWholeFile(run, dir / "new.html", ""), testing::ExitedWithCode(1),
              "Fatal Error: Failed to write to file: " + dir / "new.html");
  // A full disk often shows only when the buffer is flushed or the file closed:
  // a file-size limit of 2 KiB stands in for it, below and above the buffer size.
  const std::string full = dir / "full.html";
  const auto writeBeyondLimit = [&](std::size_t size) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{2048, 2048};
    setrlimit(RLIMIT_FSIZE, &limit);
    WriteWholeFile(run, full, std::string(size, 'x'));
  };
  for (const std::size_t size : {std::size_t{3000}, std::size_t{1} << 20}) {
    EXPECT_EXIT(writeBeyondLimit(size), testing::ExitedWithCode(1),
                "Fatal Error: Failed to write to file: " + full);
  }
}

}  // namespace
