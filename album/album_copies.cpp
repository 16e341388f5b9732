#include "album/album_copies.h"

#include <charconv>
#include <utility>

#include "album/copy_size.h"
#include "album/html_template.h"
#include "platform/file_replacement.h"
#include "platform/folder_listing.h"
#include "platform/path_syntax.h"

namespace {

// What the copies were made of, one record per picture: its size, its time
// and its name, each record ended by a NUL byte (a name may hold a line end).
constexpr std::string_view kRecordName = ".korvalo";

// The picture a copy's file name belongs to: "a.jpg" of "a.jpg.400.jpg";
// none for a name that is no copy's.
std::optional<std::string_view> PictureOfCopy(std::string_view name) {
  constexpr std::string_view kType = ".jpg";
  if (!name.ends_with(kType)) {
    return std::nullopt;
  }
  name.remove_suffix(kType.size());
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() ||
      name.find_first_not_of("0123456789", dot + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  return name.substr(0, dot);
}

// A record's field up to `separator`, the rest after it.
std::string_view TakeField(std::string_view& rest, char separator) {
  const std::size_t end = rest.find(separator);
  const std::string_view field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return field;
}

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? std::optional(value)
                                                                  : std::nullopt;
}

// A small file read whole; empty when it cannot be read.
std::string ReadSmallFile(const std::string& path) {
  HeaderFile file(path);
  std::string bytes;
  unsigned char buffer[4096];
  for (std::size_t got; file && (got = file.Read(buffer, sizeof buffer)) > 0;) {
    bytes.append(reinterpret_cast<const char*>(buffer), got);
  }
  return bytes;
}

}  // namespace

WantedCopies CopiesWanted(std::string_view cellTemplate, std::string_view pictureTemplate) {
  const auto asked = [&](std::string_view marker) {
    return cellTemplate.find(marker) != std::string_view::npos ||
           pictureTemplate.find(marker) != std::string_view::npos;
  };
  return {asked(kThumbnailMarker), asked(kThumbnail2xMarker), asked(kScreenMarker)};
}

std::string CopyName(std::string_view pictureName, int side) {
  return std::string(pictureName) + "." + std::to_string(side) + ".jpg";
}

FolderCopies::FolderCopies(const std::string& folderPrefix, WantedCopies wanted, CopyPool& pool)
    : folderPrefix_(folderPrefix),
      copiesFolder_(folderPrefix + std::string(kCopiesFolderName) + kPathSeparator),
      wanted_(wanted),
      pool_(pool) {
  std::vector<FolderEntry> entries;
  if (ListFolder(copiesFolder_, "*.*", entries) != FileError::None) {
    return;  // none yet: made when the first copy is
  }
  for (const FolderEntry& entry : entries) {
    present_.insert(entry.Name);
  }
  ours_ = present_.empty() || present_.count(std::string(kRecordName)) != 0;
  usable_ = ours_;
  if (ours_) {
    LoadRecord();
  }
}

std::string FolderCopies::CopiesFolderItself() const {
  return copiesFolder_.substr(0, copiesFolder_.size() - 1);
}

std::string FolderCopies::CopyPath(std::string_view name, int side) const {
  return copiesFolder_ + CopyName(name, side);
}

void FolderCopies::Ask(const std::string& name, PictureKind kind, std::optional<PictureSize> size) {
  Asked& asked = asked_.emplace_back();
  asked.Name = name;
  if (!usable_) {
    return;
  }
  if (!size) {
    asked.References.Problem = CopyProblem::CannotDecode;
    return;
  }
  asked.Stamp = StampOf(folderPrefix_ + name);
  const auto found = record_.find(name);
  const bool current = asked.Stamp && found != record_.end() && found->second == *asked.Stamp;
  CopyJob job{folderPrefix_ + name, kind, {}};
  const std::pair<bool, int> sides[] = {{wanted_.Thumbnail, kThumbnailSide},
                                        {wanted_.Thumbnail2x, kThumbnail2xSide},
                                        {wanted_.Screen, kScreenSide}};
  std::string* references[] = {&asked.References.Thumbnail, &asked.References.Thumbnail2x,
                               &asked.References.Screen};
  for (std::size_t i = 0; i < std::size(sides); ++i) {
    const std::optional<PictureSize> copy =
        sides[i].first ? CopySize(*size, sides[i].second) : std::nullopt;
    if (!copy) {
      continue;  // not asked for, or the original is small enough itself
    }
    const std::string copyName = CopyName(name, sides[i].second);
    *references[i] = EscapeFileReference(std::string(kCopiesFolderName) + "/" + copyName);
    if (!current || present_.count(copyName) == 0) {
      job.Copies.push_back({copy->Width, copy->Height, CopyPath(name, sides[i].second)});
    }
  }
  if (job.Copies.empty()) {
    return;
  }
  if (!ours_ && MakeFolder(CopiesFolderItself()) != FileError::None) {
    usable_ = false;
    asked.References = {{}, {}, {}, CopyProblem::CannotWrite};
    return;
  }
  ours_ = true;
  asked.Job = pool_.Submit(std::move(job));
}

CopyReferences FolderCopies::Take() {
  Asked asked = std::move(asked_.front());
  asked_.pop_front();
  if (!asked.Job) {
    return asked.References;
  }
  const CopyJobResult result = asked.Job->get();
  for (const CopyProblem problem : result.Copies) {
    if (problem != CopyProblem::None) {
      // The page shows the original; the next run tries again.
      recordChanged_ = record_.erase(asked.Name) != 0 || recordChanged_;
      return {{}, {}, {}, problem};
    }
  }
  const std::pair<const std::string&, int> made[] = {
      {asked.References.Thumbnail, kThumbnailSide},
      {asked.References.Thumbnail2x, kThumbnail2xSide},
      {asked.References.Screen, kScreenSide}};
  for (const auto& [reference, side] : made) {
    if (!reference.empty()) {
      present_.insert(CopyName(asked.Name, side));
    }
  }
  if (asked.Stamp) {
    record_[asked.Name] = *asked.Stamp;
    recordChanged_ = true;
  }
  return asked.References;
}

void FolderCopies::Finish(const std::set<std::string>& pictures) {
  if (!ours_) {
    return;
  }
  bool copiesLeft = false;
  for (const std::string& name : present_) {
    if (name == kRecordName) {
      continue;
    }
    const std::optional<std::string_view> picture = PictureOfCopy(name);
    const bool kept = picture && pictures.count(std::string(*picture)) != 0;
    // What a killed run left beside a copy goes too; other files are not ours.
    if (kept || (!picture && !IsNameBeside(name))) {
      copiesLeft = copiesLeft || kept;
      continue;
    }
    RemoveFile(copiesFolder_ + name);
  }
  for (auto entry = record_.begin(); entry != record_.end();) {
    const bool gone = pictures.count(entry->first) == 0;
    recordChanged_ = recordChanged_ || gone;
    entry = gone ? record_.erase(entry) : std::next(entry);
  }
  if (!copiesLeft && record_.empty()) {
    RemoveFile(copiesFolder_ + std::string(kRecordName));
    RemoveEmptyFolder(CopiesFolderItself());
  } else if (recordChanged_ || present_.count(std::string(kRecordName)) == 0) {
    WriteRecord();
  }
}

void FolderCopies::LoadRecord() {
  const std::string bytes = ReadSmallFile(copiesFolder_ + std::string(kRecordName));
  std::string_view rest = bytes;
  while (!rest.empty()) {
    std::string_view record = TakeField(rest, '\0');
    const std::optional<std::int64_t> size = Number(TakeField(record, '\t'));
    const std::optional<std::int64_t> time = Number(TakeField(record, '\t'));
    if (size && time && !record.empty()) {
      record_[std::string(record)] = FileStamp{*size, *time};
    }
  }
}

void FolderCopies::WriteRecord() {
  std::string bytes;
  for (const auto& [name, stamp] : record_) {
    bytes += std::to_string(stamp.Size) + '\t' + std::to_string(stamp.ModifiedNanoseconds) + '\t' +
             name + '\0';
  }
  // A record that cannot be written only costs copies made again next time.
  ReplaceFileWhole(copiesFolder_ + std::string(kRecordName), bytes);
}
