// Where files and folders behave otherwise on Windows than on Linux.

#include <windows.h>

#include <gtest/gtest.h>

#include "external/program_runner.h"
#include "platform/file_replacement.h"
#include "platform/folder_listing.h"
#include "platform/folder_lock.h"
#include "platform/utf16.h"
#include "tests/test_support.h"
#include "tests/windows_test_support.h"

namespace {

// FindFirstFileExW gives the file system's own order, which upper-cases
// every letter (NTFS, Wine) or none (FAT); the Linux build upper-cases only
// ASCII letters, and an album must come out as it makes it.
TEST(ListFolder, NamesInTheLinuxBuildsOrderWithFolderFlags) {
  TempDir dir;
  for (const char* name : {"Z.jpg", "\xc3\xa5sa.jpg", "_x.jpg", "\xc3\xa4pple.jpg", "b.gif",
                           "\xc3\x96l.jpg", "B2.jpg", "\xc3\x84rta.jpg", "a.JPG"}) {
    dir.Write(name, "");
  }
  dir.MakeFolder("Resa");
  std::vector<FolderEntry> entries;
  ASSERT_EQ(ListFolder(dir.path(), "*.*", entries), FileError::None);
  std::string seen;
  for (const FolderEntry& entry : entries) {
    seen += entry.Name + (entry.IsFolder ? "/ " : " ");
  }
  EXPECT_EQ(seen,
            "a.JPG b.gif B2.jpg Resa/ Z.jpg _x.jpg \xc3\x84rta.jpg \xc3\x96l.jpg "
            "\xc3\xa4pple.jpg \xc3\xa5sa.jpg ");
  EXPECT_EQ(ListFolder(dir / "missing", "*.*", entries), FileError::NotFound);
}

// One run per folder, however its path is spelled; the semaphore has no
// owning thread, so this process is refused a second hold too.
TEST(FolderLock, OneHoldPerFolderHoweverItIsNamed) {
  TempDir dir;
  const std::string album = dir.MakeFolder("Album");
  {
    const FolderLock first(album);
    EXPECT_EQ(first.Error(), FileError::None);
    std::string other = album + "\\";
    std::replace(other.begin(), other.end(), '/', '\\');
    EXPECT_EQ(FolderLock(other).Error(), FileError::InUse);
  }
  EXPECT_EQ(FolderLock(album).Error(), FileError::None);
  EXPECT_EQ(FolderLock(dir / "missing").Error(), FileError::NotFound);
}

// Windows renames over neither a read-only file nor one another program holds
// open without sharing its deletion; Linux does both. Nor has it files
// without a name: the one beside the page goes however the process ends.
TEST(FileReplacement, PagesCutShortOrHeldOpenStayWholeAndReadOnlyOnesStaySo) {
  TempDir dir;
  const std::string page = dir.Write("p.html", "old");
  RunProgram({FakeProgram(), "--cut-short", page}, true, false, nullptr);
  const std::wstring widePage = WidePath(page);
  SetFileAttributesW(widePage.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadFileBytes(page), "old");
  EXPECT_EQ(ReplaceFileWhole(page, "new"), FileError::None);
  EXPECT_EQ(ReadFileBytes(page), "new");
  EXPECT_NE(GetFileAttributesW(widePage.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  SetFileAttributesW(widePage.c_str(), FILE_ATTRIBUTE_NORMAL);

  const HANDLE held = CreateFileW(widePage.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(ReplaceFileWhole(page, "newer"), FileError::None);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(page), "new");
  std::vector<FolderEntry> left;
  ListFolder(dir.path(), "*.*", left);
  EXPECT_EQ(left.size(), 1u) << "a file beside the page was left behind";
}

}  // namespace
