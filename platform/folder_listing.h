#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

/// One entry of a folder listing.
struct FolderEntry {
  std::string Name;
  bool IsFolder = false;
};

/// Lists the entries of `folder` whose names match `wildcard`, "." and ".."
/// left out, sorted as NTFS lists them. None, or why the folder cannot be read.
FileError ListFolder(const std::string& folder, std::string_view wildcard,
                     std::vector<FolderEntry>& entries);

/// Matches `name` against `wildcard`: '*' any run, '?' one byte, ASCII letters
/// without regard to case; "*.*" matches every name.
bool WildcardMatch(std::string_view wildcard, std::string_view name);

/// NTFS order: names compared with ASCII letters upper-cased, ties by raw bytes.
bool NtfsNameLess(std::string_view a, std::string_view b);
