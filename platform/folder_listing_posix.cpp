#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/file_error_posix.h"
#include "platform/folder_listing.h"

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool EntryIsFolder(int dirFd, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
    return entry.d_type == DT_DIR;
  }
  // Some file systems leave the type open, and a link counts as what it points to.
  struct stat status {};
  return fstatat(dirFd, entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

bool WildcardMatch(std::string_view wildcard, std::string_view name) {
  if (wildcard == "*.*") {
    return true;
  }
  // Iterative matching with one backtrack point for the last '*'.
  std::size_t w = 0;
  std::size_t n = 0;
  std::size_t starW = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (w < wildcard.size() &&
        (wildcard[w] == '?' || UpperAscii(wildcard[w]) == UpperAscii(name[n]))) {
      ++w;
      ++n;
    } else if (w < wildcard.size() && wildcard[w] == '*') {
      starW = w++;
      starN = n;
    } else if (starW != std::string_view::npos) {
      w = starW + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (w < wildcard.size() && wildcard[w] == '*') {
    ++w;
  }
  return w == wildcard.size();
}

bool NtfsNameLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ua = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto ub = static_cast<unsigned char>(UpperAscii(b[i]));
    if (ua != ub) {
      return ua < ub;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}

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
    entries.push_back({std::string(name), EntryIsFolder(dirFd, *entry)});
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
