#include "album/album_generator.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "album/album_copies.h"
#include "album/album_entry.h"
#include "album/html_template.h"
#include "album/index_page.h"
#include "album/picture_size.h"
#include "album/walk_state.h"
#include "app/files.h"
#include "app/messages.h"
#include "app/path_part.h"
#include "app/window_services.h"
#include "external/browser_launcher.h"
#include "external/voice_recording.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/folder_lock.h"
#include "platform/path_syntax.h"
#include "resources/string_table.h"

namespace {

// `folder` ending in a separator: a root such as "C:\\" or "/" has one already.
std::string WithSeparator(const std::string& folder) {
  const bool ends = !folder.empty() && kPathSeparators.find(folder.back()) != std::string::npos;
  return ends ? folder : folder + kPathSeparator;
}

// The log line of an entry left out of the album, and why.
std::string SkipLine(const std::string& entryPath, std::string_view reason) {
  return FormatText(LoadText(kTextSkipping), {entryPath, reason});
}

std::string SkipLine(const std::string& entryPath, int reason) {
  return SkipLine(entryPath, LoadText(reason));
}

// How many pictures ahead of the walk their copies are asked for: enough to
// keep every worker busy while a page is written or a comment recorded.
constexpr std::size_t kCopiesAhead = 4;

// What a picture is, by its name's extension: a ".gif" is a GIF.
PictureKind KindOfPicture(std::string_view name) {
  return EqualsIgnoringAsciiCase(name.substr(NameWithoutExtension(name).size()), ".gif")
             ? PictureKind::Gif
             : PictureKind::Jpeg;
}

// Room for what the placeholders add to a page or cell, so that filling one
// rarely has to grow its working text.
constexpr std::size_t kFillRoom = 1024;

// How the album of one folder ended.
enum class LevelEnd {
  Done,        ///< made to its end (a folder without pictures included)
  Stopped,     ///< cancelled, or a recording failed: the run ends
  Unwritable,  ///< its index page could not be created: nothing was written
};

// One level of the walk: one folder, its index page and its two working texts.
class AlbumLevel {
 public:
  AlbumLevel(RunState& run, const std::string& folder, int depth, WalkState& walk)
      : run_(run),
        folder_(folder),
        depth_(depth),
        walk_(walk),
        folderPrefix_(PathPart(WithSeparator(folder) + "*.*", "drive,dir")),
        indexPath_(folderPrefix_ + run.Paths.IndexBaseName + run.Paths.PageExtension),
        rules_(MakeEntryRules(run)),
        lock_(folder) {}

  /// Takes the folder and reads its entries before anything is written there.
  /// Another run in the folder is fatal; other failures are returned.
  FileError Open() {
    if (lock_.Error() == FileError::InUse) {
      ShowError(run_, LoadText(kTextFolderInUse), folder_, true);
      EndProcessNow(1);
    }
    if (lock_.Error() != FileError::None) {
      return lock_.Error();
    }
    const FileError listed = ListFolder(folderPrefix_, "*.*", entries_);
    if (listed == FileError::None) {
      RemoveWhatAKilledRunLeft();
      Classify();
      cell_.reserve(run_.Templates.IndexTemplate.size() + kFillRoom);
      page_.reserve(run_.Templates.PictureTemplate.size() + kFillRoom);
    }
    return listed;
  }

  // A run that was killed may have left a file it was writing beside a page;
  // this folder is locked for this run, so no other is writing it now.
  void RemoveWhatAKilledRunLeft() const {
    for (const FolderEntry& entry : entries_) {
      if (!entry.IsFolder && IsNameBeside(entry.Name)) {
        RemoveFile(folderPrefix_ + entry.Name);
      }
    }
  }

  // What each entry becomes, decided once for the copies asked for ahead
  // and for the walk.
  void Classify() {
    kinds_.reserve(entries_.size());
    for (const FolderEntry& entry : entries_) {
      kinds_.push_back(LeftOutOfAlbums(entry) ? EntryKind::Skipped
                                              : ClassifyEntry(rules_, entry.Name, entry.IsFolder));
    }
    sizes_.resize(entries_.size());
    if (walk_.Pool) {
      copies_.emplace(folderPrefix_, walk_.Wanted, *walk_.Pool);
    }
  }

  /// Makes the album.
  LevelEnd Make() {
    const LevelEnd walked = Walk();
    return walked == LevelEnd::Done ? Finish() : walked;
  }

  /// Why the index page could not be created, after Make gave Unwritable.
  FileError IndexError() const { return indexError_; }

 private:
  // Stops at the next entry once the user has cancelled.
  LevelEnd Walk() {
    if (copies_ && !copies_->Usable()) {
      run_.Windows->LogLine(
          SkipLine(folderPrefix_ + std::string(kCopiesFolderName), kTextCopiesFolderNotOurs));
    }
    for (std::size_t at = 0; at < entries_.size(); ++at) {
      if (run_.Windows->PollCancel()) {
        return LevelEnd::Stopped;
      }
      if (const LevelEnd made = MakeEntry(at); made != LevelEnd::Done) {
        return made;
      }
    }
    return LevelEnd::Done;
  }

  // Reads the sizes of the pictures up to `at`, and asks for their copies,
  // so that the workers make them while the walk writes pages and records.
  void AskAhead(std::size_t at) {
    const std::size_t until = std::min(entries_.size(), at + 1 + (copies_ ? kCopiesAhead : 0));
    for (; asked_ < until; ++asked_) {
      if (kinds_[asked_] != EntryKind::Picture) {
        continue;
      }
      const std::string& name = entries_[asked_].Name;
      sizes_[asked_] = ReadPictureSize(folderPrefix_ + name, entries_[asked_].IsRegular);
      if (copies_) {
        copies_->Ask(name, KindOfPicture(name), sizes_[asked_]);
      }
    }
  }

  LevelEnd MakeEntry(std::size_t at) {
    const FolderEntry& entry = entries_[at];
    const std::string entryPath = folderPrefix_ + entry.Name;
    switch (kinds_[at]) {
      case EntryKind::Skipped:
        return LevelEnd::Done;
      case EntryKind::PageWouldBeIndex:
        run_.Windows->LogLine(SkipLine(entryPath, kTextPageWouldBeIndex));
        return LevelEnd::Done;
      case EntryKind::UnusableName:
        run_.Windows->LogLine(SkipLine(entryPath, kTextWindowsCannotUseName));
        return LevelEnd::Done;
      case EntryKind::SubAlbum:
        return MakeSubAlbum(entryPath, entry.Name);
      case EntryKind::Picture:
        break;
    }
    if (!StartEntry(entryPath)) {
      return LevelEnd::Unwritable;
    }
    AskAhead(at);
    const std::optional<PictureSize> size = sizes_[at];
    CellValues values = PictureValues(entry.Name);
    if (copies_) {
      TakeCopies(entryPath, values);
    }
    const Neighbours neighbours = walk_.Pages.NamesNeighbours() ? NeighboursOf(at) : Neighbours{};
    if (!WritePicturePage(entry.Name, values, neighbours, size)) {
      return LevelEnd::Stopped;
    }
    WriteCell(values, size);
    return LevelEnd::Done;
  }

  // The pictures before and after the one at `at`: sub-albums and entries
  // left out are no neighbours.
  Neighbours NeighboursOf(std::size_t at) {
    Neighbours neighbours;
    if (previousPicture_) {
      neighbours.Previous = entries_[*previousPicture_].Name;
    }
    for (std::size_t next = at + 1; next < entries_.size(); ++next) {
      if (kinds_[next] == EntryKind::Picture) {
        neighbours.Next = entries_[next].Name;
        break;
      }
    }
    previousPicture_ = at;
    return neighbours;
  }

  // The copies' references for the picture's page and cell; where they
  // could not be made, a log line says so and the pages show the original.
  void TakeCopies(const std::string& entryPath, CellValues& values) {
    CopyReferences references = copies_->Take();
    if (references.Problem != CopyProblem::None) {
      run_.Windows->LogLine(
          FormatMessage(LoadText(kTextNoCopies), {entryPath, CopyProblemText(references.Problem)}));
    }
    values.Thumbnail = std::move(references.Thumbnail);
    values.Thumbnail2x = std::move(references.Thumbnail2x);
    values.Screen = std::move(references.Screen);
  }

  LevelEnd Finish() {
    if (copies_) {
      std::set<std::string> pictures;
      for (std::size_t at = 0; at < entries_.size(); ++at) {
        if (kinds_[at] == EntryKind::Picture) {
          pictures.insert(entries_[at].Name);
        }
      }
      copies_->Finish(pictures);
    }
    if (!index_) {
      ShowError(run_, LoadText(kTextNoPictures), folder_, false);
      return LevelEnd::Done;
    }
    if (depth_ != 0) {
      const CellValues back = GoBackValues(rules_.GoBackImageName, run_.Paths.IndexBaseName);
      walk_.Cell.Fill(MarkerValues(back), cell_);
      FitImageBox(cell_, run_.Paths.GoBackImage);
      index_->Write(cell_);
    }
    index_->Write(layout_.Tail);
    index_->Close();
    index_.reset();
    if (depth_ != 0) {
      return LevelEnd::Done;
    }
    // A cancel during the last picture still keeps the browser shut.
    if (run_.Windows->PollCancel()) {
      return LevelEnd::Stopped;
    }
    if (run_.Settings.OpenBrowserWhenDone) {
      OpenInBrowser(indexPath_, true);
    } else {
      run_.Windows->FinishProgress();
    }
    return LevelEnd::Done;
  }

  // Logs the entry and, at the first one, starts the index page. False when
  // the page cannot be created in a sub-album, which is then left out before
  // anything of it is logged; in the chosen folder that is fatal.
  bool StartEntry(const std::string& entryPath) {
    if (!index_ && depth_ != 0 && !StartIndex()) {
      return false;
    }
    run_.Windows->LogLine(entryPath);
    if (!index_ && !StartIndex()) {
      ShowError(run_, LoadText(kTextCannotCreateIndex), indexPath_, true);
      EndProcessNow(1);
    }
    return true;
  }

  bool StartIndex() {
    index_.emplace(run_, indexPath_);
    if (const FileError error = index_->Created(); error != FileError::None) {
      index_.reset();
      indexError_ = error;
      return false;
    }
    layout_ = SplitIndexTemplate(run_.Templates.IndexTemplate, run_.Settings.ThumbnailsPerRow);
    index_->Write(layout_.Head);
    CopySupportImage(run_.Paths.GoBackImage, rules_.GoBackImageName);
    CopySupportImage(run_.Paths.FolderImage, rules_.FolderImageName);
    return true;
  }

  // A link back to a folder the walk is inside, or to one it has already
  // made, would make it loop or repeat itself; a folder that cannot be read,
  // or entered to write its album, is left out with the reason. Either way
  // the album goes on.
  LevelEnd MakeSubAlbum(const std::string& entryPath, std::string_view name) {
    const std::optional<FileIdentity> identity = IdentityOf(entryPath);
    if (identity && walk_.Visited.count(*identity) != 0) {
      run_.Windows->LogLine(SkipLine(entryPath, kTextAlreadyInAlbum));
      return LevelEnd::Done;
    }
    // A link (a junction on Windows) to a folder elsewhere: its album would
    // be written outside the folder the user chose.
    if (!walk_.Inside(entryPath)) {
      run_.Windows->LogLine(SkipLine(entryPath, kTextLinkLeadsOut));
      return LevelEnd::Done;
    }
    AlbumLevel sub(run_, entryPath, depth_ + 1, walk_);
    if (const FileError error = sub.Open(); error != FileError::None) {
      run_.Windows->LogLine(SkipLine(entryPath, ReasonText(error)));
      return LevelEnd::Done;
    }
    if (!StartEntry(entryPath)) {
      return LevelEnd::Unwritable;
    }
    if (identity) {
      walk_.Visited.insert(*identity);
    }
    switch (sub.Make()) {
      case LevelEnd::Stopped:
        return LevelEnd::Stopped;
      case LevelEnd::Unwritable:
        run_.Windows->LogLine(SkipLine(entryPath, ReasonText(sub.IndexError())));
        return LevelEnd::Done;
      case LevelEnd::Done:
        break;
    }
    WriteCell(SubAlbumValues(name, rules_.FolderImageName), std::nullopt);
    return LevelEnd::Done;
  }

  // An image the user may have put in this folder is kept; an empty one, as
  // a full disk once left it, is made again. A failed copy only leaves the
  // pages referring to a missing image.
  void CopySupportImage(const std::string& source, const std::string& name) {
    const std::string target = folderPrefix_ + name;
    if (!FileExists(target) || FileSize(target) == 0) {
      CopyFileWhole(source, target);
    }
  }

  bool WritePicturePage(std::string_view name, const CellValues& values,
                        const Neighbours& neighbours, const std::optional<PictureSize>& size) {
    const std::string_view baseName = NameWithoutExtension(name);
    const std::string pagePath = folderPrefix_ + std::string(baseName) + run_.Paths.PageExtension;
    walk_.Pages.Fill(values, neighbours, size, page_);
    // Where the index page was there before, so probably are the pages.
    WriteWholeFile(run_, pagePath, page_, index_->Replacing());
    return RecordSound(run_, pagePath, std::string(baseName));
  }

  // A sub-album's cell has no picture to fit its box to.
  void WriteCell(const CellValues& values, const std::optional<PictureSize>& size) {
    walk_.Cell.Fill(MarkerValues(values), cell_);
    if (size) {
      FitImageBoxToSize(cell_, *size);
    }
    index_->Write(cell_);
    if (++cellsWritten_ % std::max(layout_.Columns, 1) == 0) {
      index_->Write(layout_.RowBreak);
    }
  }

  RunState& run_;
  const std::string& folder_;
  const int depth_;
  WalkState& walk_;
  const std::string folderPrefix_;
  const std::string indexPath_;
  const EntryRules rules_;
  const FolderLock lock_;
  std::vector<FolderEntry> entries_;
  std::vector<EntryKind> kinds_;
  std::vector<std::optional<PictureSize>> sizes_;  ///< read ahead, as far as asked_
  std::size_t asked_ = 0;
  std::optional<std::size_t> previousPicture_;
  std::optional<FolderCopies> copies_;
  std::optional<IndexPage> index_;
  FileError indexError_ = FileError::None;
  IndexLayout layout_;
  int cellsWritten_ = 0;
  std::string cell_;
  std::string page_;
};

}  // namespace

int GenerateFolder(RunState& run, const std::string& folder, int depth) {
  const std::vector<FileIdentity> above = FolderAndItsParents(folder);
  // The cell is the same whatever the number of cells a row.
  const IndexLayout layout = SplitIndexTemplate(run.Templates.IndexTemplate, 0);
  WalkState walk{{above.begin(), above.end()},
                 RealPath(folder),
                 CompiledTemplate(layout.CellTemplate, kCellMarkers),
                 PicturePages(run.Templates.PictureTemplate),
                 CopiesWanted(layout.CellTemplate, run.Templates.PictureTemplate),
                 std::nullopt};
  if (walk.Wanted.Any()) {
    walk.Pool.emplace();
  }
  AlbumLevel album(run, folder, depth, walk);
  if (const FileError error = album.Open(); error != FileError::None) {
    ShowError(run, WithReason(LoadText(kTextCannotReadFolder), error), folder, true);
    EndProcessNow(1);
  }
  return album.Make() == LevelEnd::Done ? 1 : 0;
}
