#pragma once

#include <array>
#include <string>
#include <string_view>

#include "album/html_template.h"
#include "app/run_state.h"
#include "platform/ascii_case.h"
#include "platform/folder_listing.h"

/// The folder in each album folder that holds the small copies of its
/// pictures. No run takes it for pictures or a sub-album.
inline constexpr std::string_view kCopiesFolderName = "__kopior";

/// What a folder entry becomes in an album.
enum class EntryKind {
  Skipped,           ///< not part of the album
  Picture,           ///< a ".jpg" or ".gif" file: a page and a cell
  SubAlbum,          ///< a folder: an album of its own and a cell
  PageWouldBeIndex,  ///< a picture whose page would be the index page itself
  UnusableName,      ///< a picture or folder whose name Windows cannot use
};

/// The names an album folder's entries are judged by.
struct EntryRules {
  std::string GoBackImageName;  ///< "__goback.gif"
  std::string FolderImageName;  ///< "index.jpg"
  std::string IndexBaseName;    ///< "index"
  bool IncludeSubfolders = true;
  /// Pictures and folders named as Windows cannot name them are left out.
  bool WindowsNames = kWindowsNameRules;
};

/// The rules of `run`: its support image names, index name and subfolder choice.
EntryRules MakeEntryRules(const RunState& run);

/// Judges the entry `name` (file name with extension) of an album folder.
/// The support image names and the copies folder are never entries; ".jpg" and ".gif" (any ASCII
/// case) qualify files and folders alike; other folders only with
/// IncludeSubfolders. A qualifying folder is always a sub-album. With
/// WindowsNames, a qualifying entry Windows cannot name is UnusableName.
EntryKind ClassifyEntry(const EntryRules& rules, std::string_view name, bool isFolder);

/// `name` up to its last '.', the whole name when it has none.
std::string_view NameWithoutExtension(std::string_view name);

/// The three values a page or cell is filled with, ready for HTML: the file
/// references escaped as links, the caption as text.
struct CellValues {
  std::string FileReference;              ///< replaces "__picture.jpg"
  std::string ReferenceWithoutExtension;  ///< replaces "__picture"
  std::string Caption;                    ///< replaces "Picture text"
  /// Replace "__thumbnail.jpg", "__thumbnail2x.jpg" and "__screen.jpg";
  /// empty for the picture itself, FileReference (a sub-album's and the way
  /// back's pictures are small: they have no copies).
  std::string Thumbnail;
  std::string Thumbnail2x;
  std::string Screen;
};

/// The markers of a page or cell, in the order MarkerValues gives their values.
inline constexpr std::array<std::string_view, 6> kCellMarkers = {
    kPictureFileMarker, kPictureNameMarker, kCaptionMarker,
    kThumbnailMarker,   kThumbnail2xMarker, kScreenMarker};

/// What kCellMarkers are filled with for `values`, which must outlive them.
std::array<std::string_view, 6> MarkerValues(const CellValues& values);

/// The values of the picture `fileName`, for its page and its cell alike;
/// its copies are the picture itself until the caller knows better.
CellValues PictureValues(std::string_view fileName);

/// The values of the cell of the sub-album in the folder `folderName`, shown
/// by the image `folderImageName` inside it.
CellValues SubAlbumValues(std::string_view folderName, std::string_view folderImageName);

/// The values of the cell that leads back to the parent album's index page.
CellValues GoBackValues(std::string_view goBackImageName, std::string_view indexBaseName);
