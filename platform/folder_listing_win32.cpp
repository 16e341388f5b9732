#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/file_error_win32.h"
#include "platform/folder_listing.h"
#include "platform/utf16.h"

namespace {

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

std::wstring EverythingIn(const std::string& folder) {
  std::wstring pattern = WidePath(folder);
  if (!pattern.empty() && pattern.back() != L'\\') {
    pattern += L'\\';
  }
  return pattern + L'*';
}

}  // namespace

FileError ListFolder(const std::string& folder, std::string_view wildcard,
                     std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW found{};
  // Every name, matched here: the system's own matching has 8.3-name quirks.
  HANDLE first = FindFirstFileExW(EverythingIn(folder).c_str(), FindExInfoBasic, &found,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (first == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A drive's root has no "." and "..": an empty one has nothing to find.
    return error == ERROR_FILE_NOT_FOUND ? FileError::None : FileErrorFromWin32(error);
  }
  const FindHandle find(first);
  do {
    const std::string name = Utf8(found.cFileName);
    if (name == "." || name == ".." || !WildcardMatch(wildcard, name)) {
      continue;
    }
    // A link or junction to a folder counts as the folder it leads to.
    const DWORD attributes = found.dwFileAttributes;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries.push_back({name, folder,
                       (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0,
                       !folder});
  } while (FindNextFileW(find.get(), &found));
  if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) {
    entries.clear();
    return FileErrorFromWin32(error);
  }
  // The order the Linux build uses too, so that both make the same album.
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    return NtfsNameLess(a.Name, b.Name);
  });
  return FileError::None;
}
