#include "app/files.h"

#include <cstdio>
#include <memory>
#include <new>

#include "app/messages.h"
#include "app/path_part.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"

bool NextFolderEntry(std::string_view pattern, std::string& entryPath, bool& isFolder,
                     FolderSearch& search) {
  if (entryPath.empty()) {
    search = FolderSearch{};
    search.Folder = PathPart(pattern, "drive,dir");
    const std::string_view wildcard = pattern.substr(search.Folder.size());
    search.Open = ListFolder(search.Folder.empty() ? std::string(".") : search.Folder, wildcard,
                             search.Entries) == FileError::None;
  }
  if (!search.Open || search.Next >= search.Entries.size()) {
    search = FolderSearch{};
    return false;
  }
  const FolderEntry& entry = search.Entries[search.Next++];
  entryPath = search.Folder + entry.Name;
  isFolder = entry.IsFolder;
  return true;
}

bool FileExists(const std::string& path) {
  return PathExists(path);
}

std::int64_t FileSize(const std::string& path) {
  const std::int64_t size = PathSize(path);
  return size < 0 ? 0 : size;
}

std::string ReadWholeFile(const RunState& run, const std::string& path) {
  // Only a regular file is read: a folder or a FIFO cannot be opened as one.
  const OpenStream file = OpenRegularFile(path);
  if (!file) {
    ShowError(run, "Failed to open file: %s", path, true);
  }
  const std::int64_t size = FileSize(path);
  std::string text;
  try {
    text.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {
    ShowError(run, "Memory allocation failed for file: %s", path, true);
  }
  // An empty file counts as not read: a page template must have content.
  if (size == 0 || std::fread(text.data(), static_cast<std::size_t>(size), 1, file.get()) != 1) {
    ShowError(run, "Failed to read file: %s", path, true);
  }
  return text;
}

void WriteWholeFile(const RunState& run, const std::string& path, std::string_view text,
                    bool probablyThere) {
  // An unchanged page is left as it is: cheaper than writing it, and its time
  // stamp stays for those who upload only what changed. A new page may be
  // written in place: there is nothing earlier to keep.
  const WholeWrite written =
      text.empty()
          ? WholeWrite{FileError::Other, true}
          : WriteContentWhole(path, text, FileReplacement::Mode::InPlaceWhenNew, probablyThere);
  if (written.Error != FileError::None) {
    ShowError(
        run,
        WithReason(written.Created ? "Failed to write to file: %s" : "Failed to create file: %s",
                   written.Error),
        path, true);
  }
}
