#pragma once

#include <cstddef>
#include <deque>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "album/album_entry.h"
#include "album/copy_pool.h"
#include "album/picture_size.h"
#include "platform/file_system.h"

/// The long sides of the copies: a cell's picture, the same on a screen of
/// twice the density, and a picture page's.
inline constexpr int kThumbnailSide = 400;
inline constexpr int kThumbnail2xSide = 800;
inline constexpr int kScreenSide = 1600;

/// Which copies the templates ask for, by their placeholders.
struct WantedCopies {
  bool Thumbnail = false;
  bool Thumbnail2x = false;
  bool Screen = false;
  bool Any() const { return Thumbnail || Thumbnail2x || Screen; }
};

/// What the cell template and the picture template ask for; both are filled
/// with every placeholder.
WantedCopies CopiesWanted(std::string_view cellTemplate, std::string_view pictureTemplate);

/// A picture's references for the copy placeholders, ready for a link, each
/// empty for the picture itself (where no copy is needed or one could not be
/// made), and why its copies could not be made.
struct CopyReferences {
  std::string Thumbnail;
  std::string Thumbnail2x;
  std::string Screen;
  CopyProblem Problem = CopyProblem::None;
};

/// The file name of the copy of the picture `pictureName` with the long
/// side `side`: "strand.jpg.400.jpg".
std::string CopyName(std::string_view pictureName, int side);

/// The copies of one album folder's pictures. It looks at the copies folder
/// once, asks the pool ahead of the walk for the copies that are missing or
/// older than their picture (by its size and time), hands each picture's
/// references over in the walk's order, and at the end removes the copies
/// of pictures no longer there and writes down what it made. A copies folder
/// that holds files but no record of this program's is someone else's: no
/// copy is made in it, and nothing in it is touched.
class FolderCopies {
 public:
  /// `folderPrefix` is the album folder with its trailing separator.
  FolderCopies(const std::string& folderPrefix, WantedCopies wanted, CopyPool& pool);
  FolderCopies(const FolderCopies&) = delete;
  FolderCopies& operator=(const FolderCopies&) = delete;

  /// False when the copies folder is someone else's.
  bool Usable() const { return usable_; }

  /// Asks, in walk order, for the copies of the picture `name` (a file of
  /// this folder, of `kind`, its upright size `size` as its header gives it).
  void Ask(const std::string& name, PictureKind kind, std::optional<PictureSize> size);

  /// The references of the next picture asked for, once its copies are made.
  CopyReferences Take();

  /// Removes what belongs to no picture of `pictures` (all the pictures of
  /// the folder, asked for or not) and writes the record. Only after Take
  /// was called for every Ask.
  void Finish(const std::set<std::string>& pictures);

 private:
  struct Asked {
    std::string Name;
    CopyReferences References;
    std::optional<std::future<CopyJobResult>> Job;
    std::optional<FileStamp> Stamp;
  };

  std::string CopiesFolderItself() const;  ///< without its trailing separator
  std::string CopyPath(std::string_view name, int side) const;
  void LoadRecord();
  void WriteRecord();

  std::string folderPrefix_;
  std::string copiesFolder_;  ///< with its trailing separator
  WantedCopies wanted_;
  CopyPool& pool_;
  bool usable_ = true;
  bool ours_ = false;                        ///< the folder has our record, or we made it
  std::set<std::string> present_;            ///< the copies folder's files
  std::map<std::string, FileStamp> record_;  ///< picture name -> stamp its copies were made of
  bool recordChanged_ = false;
  std::deque<Asked> asked_;
};
