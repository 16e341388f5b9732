#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

/// One entry of a folder listing.
struct FolderEntry {
  std::string Name;
  bool IsFolder = false;
  /// Marked hidden or system by Windows, as a drive's $RECYCLE.BIN is.
  bool HiddenBySystem = false;
  /// A regular file, links followed, when it was listed.
  bool IsRegular = false;
};

/// True for an entry no album shows, the same on every system: a name that
/// begins with '.', and one Windows marks hidden or system.
bool LeftOutOfAlbums(const FolderEntry& entry);

/// True for a name Windows cannot give a file or folder of its own: a device
/// name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, CONIN$, CONOUT$ in
/// any case, also followed by blanks or by a dot and more), which opens the
/// device instead, and a name that ends in a dot or a blank, which Windows
/// reads as the name without them.
bool WindowsCannotUseName(std::string_view name);

/// Whether this build's albums must leave out what WindowsCannotUseName finds.
#ifdef _WIN32
inline constexpr bool kWindowsNameRules = true;
#else
inline constexpr bool kWindowsNameRules = false;
#endif

/// Lists the entries of `folder` whose names match `wildcard`, "." and ".."
/// left out, sorted as NTFS lists them. None, or why the folder cannot be read.
FileError ListFolder(const std::string& folder, std::string_view wildcard,
                     std::vector<FolderEntry>& entries);

/// Matches `name` against `wildcard`: '*' any run, '?' one byte, ASCII letters
/// without regard to case; "*.*" matches every name.
bool WildcardMatch(std::string_view wildcard, std::string_view name);

/// NTFS order: names compared with ASCII letters upper-cased, ties by raw bytes.
bool NtfsNameLess(std::string_view a, std::string_view b);
