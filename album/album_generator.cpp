#include "album/album_generator.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "album/album_entry.h"
#include "album/html_template.h"
#include "album/picture_size.h"
#include "app/files.h"
#include "app/messages.h"
#include "app/path_part.h"
#include "app/window_services.h"
#include "external/browser_launcher.h"
#include "external/voice_recording.h"
#include "platform/file_system.h"
#include "platform/path_syntax.h"
#include "resources/string_table.h"

namespace {

// The folders the walk is inside: the chosen folder, every folder above it
// and every folder on the way down to the current one.
using EnclosingFolders = std::vector<FileIdentity>;

void GenerateLevel(RunState& run, const std::string& folder, int depth,
                   EnclosingFolders& enclosing);

// Room for what the placeholders add to a page or cell, so that filling one
// rarely has to grow its working text.
constexpr std::size_t kFillRoom = 1024;

// A picture's size, read as what its extension says it is; none when it
// cannot be read. Read once for the picture's page and its cell.
std::optional<PictureSize> ReadPictureSize(const std::string& path, std::string_view name) {
  const std::string_view type = name.substr(NameWithoutExtension(name).size());
  PictureSize size;
  const bool found = EqualsIgnoringAsciiCase(type, ".jpg")   ? ReadJpegSize(path, size)
                     : EqualsIgnoringAsciiCase(type, ".gif") ? ReadGifSize(path, size)
                                                             : false;
  return found ? std::optional<PictureSize>(size) : std::nullopt;
}

// The index page of one album folder, open from its first entry to its end and
// written piece by piece. Any failure to write it, its close included, is fatal:
// a cut-off index page must never pass for a finished album.
class IndexPage {
 public:
  IndexPage(const RunState& run, std::string path)
      : run_(run), path_(std::move(path)), file_(CreateRegularFile(path_)) {
    if (file_ == nullptr) {
      ShowError(run_, LoadText(kTextCannotCreateIndex), path_, true);
      EndProcessNow(1);
    }
  }
  IndexPage(const IndexPage&) = delete;
  IndexPage& operator=(const IndexPage&) = delete;
  ~IndexPage() {
    if (file_ != nullptr) {
      std::fclose(file_);
    }
  }

  void Write(std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), text.size(), 1, file_) != 1) {
      Fail();
    }
  }

  void Close() {
    bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    written = std::fclose(file_) == 0 && written;
    file_ = nullptr;
    if (!written) {
      Fail();
    }
  }

 private:
  [[noreturn]] void Fail() {
    ShowError(run_, "Failed to write to file: %s", path_, true);
    EndProcessNow(1);
  }

  const RunState& run_;
  std::string path_;
  std::FILE* file_;
};

// One level of the walk: one folder, its index page and its two working texts.
class AlbumLevel {
 public:
  AlbumLevel(RunState& run, const std::string& folder, int depth, EnclosingFolders& enclosing)
      : run_(run),
        folder_(folder),
        depth_(depth),
        enclosing_(enclosing),
        pattern_(folder + "/*.*"),
        folderPrefix_(PathPart(pattern_, "drive,dir")),
        indexPath_(folderPrefix_ + run.Paths.IndexBaseName + run.Paths.PageExtension),
        rules_(MakeEntryRules(run)) {
    cell_.reserve(run.Templates.IndexTemplate.size() + kFillRoom);
    page_.reserve(run.Templates.PictureTemplate.size() + kFillRoom);
  }

  void Walk() {
    std::string entryPath;
    bool isFolder = false;
    FolderSearch search;
    while (NextFolderEntry(pattern_, entryPath, isFolder, search)) {
      const std::string_view name = std::string_view(entryPath).substr(folderPrefix_.size());
      if (IsHiddenName(name)) {
        continue;
      }
      switch (ClassifyEntry(rules_, name, isFolder)) {
        case EntryKind::Skipped:
          break;
        case EntryKind::PageWouldBeIndex:
          run_.Windows->LogLine("Hoppar över " + entryPath +
                                ": sidan skulle skriva över indexsidan");
          break;
        case EntryKind::SubAlbum:
          WalkSubAlbum(entryPath, name);
          break;
        case EntryKind::Picture: {
          StartEntry(entryPath);
          const std::optional<PictureSize> size = ReadPictureSize(entryPath, name);
          const CellValues values = PictureValues(name);
          WritePicturePage(name, values, size);
          WriteCell(values, size);
          break;
        }
      }
    }
  }

  void Finish() {
    if (!index_) {
      ShowError(run_, LoadText(kTextNoPictures), folder_, false);
      return;
    }
    if (depth_ != 0) {
      cell_.assign(layout_.CellTemplate);
      const CellValues back = GoBackValues(rules_.GoBackImageName, run_.Paths.IndexBaseName);
      FillPlaceholders(cell_, back.FileReference, back.ReferenceWithoutExtension, back.Caption);
      FitImageBox(cell_, run_.Paths.GoBackImage);
      index_->Write(cell_);
    }
    index_->Write(layout_.Tail);
    index_->Close();
    index_.reset();
    if (depth_ == 0) {
      if (run_.Settings.OpenBrowserWhenDone) {
        OpenInBrowser(indexPath_, true);
      } else {
        run_.Windows->FinishProgress();
      }
    }
  }

 private:
  // Logs the entry and, at the first one, starts the index page.
  void StartEntry(const std::string& entryPath) {
    run_.Windows->LogLine(entryPath);
    if (index_) {
      return;
    }
    index_.emplace(run_, indexPath_);
    layout_ = SplitIndexTemplate(run_.Templates.IndexTemplate, run_.Settings.ThumbnailsPerRow);
    index_->Write(layout_.Head);
    CopySupportImage(run_.Paths.GoBackImage, rules_.GoBackImageName);
    CopySupportImage(run_.Paths.FolderImage, rules_.FolderImageName);
  }

  // A link to a folder the walk is already inside would lead it round in a
  // loop, or out of the chosen folder; links to other folders are followed.
  void WalkSubAlbum(const std::string& entryPath, std::string_view name) {
    const std::optional<FileIdentity> identity = IdentityOf(entryPath);
    if (identity &&
        std::find(enclosing_.begin(), enclosing_.end(), *identity) != enclosing_.end()) {
      run_.Windows->LogLine("Hoppar över " + entryPath + ": mappen ingår redan i albumet");
      return;
    }
    StartEntry(entryPath);
    if (identity) {
      enclosing_.push_back(*identity);
    }
    GenerateLevel(run_, entryPath, depth_ + 1, enclosing_);
    if (identity) {
      enclosing_.pop_back();
    }
    WriteCell(SubAlbumValues(name, rules_.FolderImageName), std::nullopt);
  }

  // An image the user may have replaced in this folder is kept; a failed copy
  // only leaves the pages referring to a missing image.
  void CopySupportImage(const std::string& source, const std::string& name) {
    const std::string target = folderPrefix_ + name;
    if (!FileExists(target)) {
      CopyFileReplacing(source, target);
    }
  }

  void WritePicturePage(std::string_view name, const CellValues& values,
                        const std::optional<PictureSize>& size) {
    const std::string_view baseName = NameWithoutExtension(name);
    const std::string pagePath = folderPrefix_ + std::string(baseName) + run_.Paths.PageExtension;
    page_.assign(run_.Templates.PictureTemplate);
    FillPlaceholders(page_, values.FileReference, values.ReferenceWithoutExtension, values.Caption);
    if (size) {
      FitImageBoxToSize(page_, *size);
    }
    WriteWholeFile(run_, pagePath, page_);
    RecordSound(run_, pagePath, std::string(baseName));
  }

  // A sub-album's cell has no picture to fit its box to.
  void WriteCell(const CellValues& values, const std::optional<PictureSize>& size) {
    cell_.assign(layout_.CellTemplate);
    FillPlaceholders(cell_, values.FileReference, values.ReferenceWithoutExtension, values.Caption);
    if (size) {
      FitImageBoxToSize(cell_, *size);
    }
    index_->Write(cell_);
    if (++cellsWritten_ % std::max(layout_.Columns, 1) == 0) {
      index_->Write(kRowBreak);
    }
  }

  RunState& run_;
  const std::string& folder_;
  const int depth_;
  EnclosingFolders& enclosing_;
  const std::string pattern_;
  const std::string folderPrefix_;
  const std::string indexPath_;
  const EntryRules rules_;
  std::optional<IndexPage> index_;
  IndexLayout layout_;
  int cellsWritten_ = 0;
  std::string cell_;
  std::string page_;
};

void GenerateLevel(RunState& run, const std::string& folder, int depth,
                   EnclosingFolders& enclosing) {
  AlbumLevel level(run, folder, depth, enclosing);
  level.Walk();
  level.Finish();
}

}  // namespace

int GenerateFolder(RunState& run, const std::string& folder, int depth) {
  EnclosingFolders enclosing = FolderAndItsParents(folder);
  GenerateLevel(run, folder, depth, enclosing);
  return 1;
}
