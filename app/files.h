#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_state.h"
#include "platform/folder_listing.h"

/// One enumeration of a folder; each nested walk keeps its own.
struct FolderSearch {
  std::string Folder;  ///< The pattern's folder, with its trailing separator.
  std::vector<FolderEntry> Entries;
  std::size_t Next = 0;
  bool Open = false;
};

/// Yields the next entry of `pattern` (a folder, a separator and a wildcard
/// name) in NTFS order, "." and ".." left out. An empty `entryPath` starts a new
/// search. Returns false at the end, leaving `entryPath` and `isFolder` as they were.
bool NextFolderEntry(std::string_view pattern, std::string& entryPath, bool& isFolder,
                     FolderSearch& search);

/// True when a file or folder exists at `path`.
bool FileExists(const std::string& path);

/// The file's size in bytes; 0 when it cannot be learned.
std::int64_t FileSize(const std::string& path);

/// Returns the whole regular file, byte for byte. Any failure, an empty file
/// and a path that is no regular file included, is a fatal error naming the path.
std::string ReadWholeFile(const RunState& run, const std::string& path);

/// Replaces `path` whole with exactly `text`, as a regular file
/// (FileReplacement; a new file is written in place); a file that already
/// holds `text` is left as it is. Any
/// failure, an empty text and a failed flush or close included, is a fatal
/// error naming the path, and leaves what stood there before. `probablyThere`
/// only orders the work: whether an earlier page is likely to stand there.
void WriteWholeFile(const RunState& run, const std::string& path, std::string_view text,
                    bool probablyThere = false);
