#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/file_error_posix.h"
#include "platform/folder_listing.h"

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// What the entry is: a folder, a regular file or neither.
FolderEntry EntryOf(int dirFd, const dirent& entry) {
  FolderEntry listed{entry.d_name};
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
    listed.IsFolder = entry.d_type == DT_DIR;
    listed.IsRegular = entry.d_type == DT_REG;
    return listed;
  }
  // Some file systems leave the type open, and a link counts as what it points to.
  struct stat status {};
  if (fstatat(dirFd, entry.d_name, &status, 0) == 0) {
    listed.IsFolder = S_ISDIR(status.st_mode);
    listed.IsRegular = S_ISREG(status.st_mode);
  }
  return listed;
}

}  // namespace

FileError ListFolder(const std::string& folder, std::string_view wildcard,
                     std::vector<FolderEntry>& entries) {
  entries.clear();
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) {
    return FileErrorFromErrno(errno);
  }
  const int dirFd = dirfd(dir.get());
  int error = 0;
  for (;;) {
    // readdir tells an error from the end only through errno.
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      error = errno;
      break;
    }
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !WildcardMatch(wildcard, name)) {
      continue;
    }
    entries.push_back(EntryOf(dirFd, *entry));
  }
  if (error != 0) {
    entries.clear();
    return FileErrorFromErrno(error);
  }
  // NTFS lists names in upper-cased order; albums must not depend on the
  // file system's own order.
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    return NtfsNameLess(a.Name, b.Name);
  });
  return FileError::None;
}
