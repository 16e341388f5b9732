#include "tools/sndrec32/picture_file.h"

#include <string_view>
#include <utility>
#include <vector>

#include "album/album_entry.h"
#include "album/exif_orientation.h"
#include "album/jpeg_header.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/path_syntax.h"

namespace {

bool Acceptable(const CommentPicture& picture) {
  const std::int64_t pixels = std::int64_t{picture.Stored.Width} * picture.Stored.Height;
  return pixels > 0 && pixels <= (picture.IsGif ? kMaxGifPixels : kMaxJpegPixels);
}

// Opens only a regular file: a FIFO would wait for a writer before the window shows.
std::optional<CommentPicture> OpenPicture(const std::string& folder, const std::string& name,
                                          bool isGif) {
  CommentPicture picture;
  picture.Name = name;
  picture.IsGif = isGif;
  picture.File = OpenRegularFile(folder + name);
  if (!picture.File) {
    return std::nullopt;
  }
  std::FILE* file = picture.File.get();
  StreamSource source(file);
  const bool read = isGif ? ReadGifSize(source, picture.Stored)
                          : ReadJpegHeader(source, picture.Stored, picture.Orientation);
  if (!read || !Acceptable(picture) || std::fseek(file, 0, SEEK_SET) != 0) {
    return std::nullopt;
  }
  picture.Orientation = picture.Orientation == 0 ? 1 : picture.Orientation;
  return picture;
}

}  // namespace

PictureSize UprightSize(const CommentPicture& picture) {
  return OrientationSwapsSides(picture.Orientation)
             ? PictureSize{.Width = picture.Stored.Height, .Height = picture.Stored.Width}
             : picture.Stored;
}

PictureSize FittedSize(const CommentPicture& picture, PictureSize box) {
  const PictureSize upright = UprightSize(picture);
  if (upright.Width <= 0 || upright.Height <= 0) {
    return {};
  }
  const std::int64_t width = std::int64_t{box.Height} * upright.Width / upright.Height;
  if (width <= box.Width) {
    return {static_cast<int>(width), box.Height};
  }
  return {box.Width, static_cast<int>(std::int64_t{box.Width} * upright.Height / upright.Width)};
}

std::optional<CommentPicture> FindPicture(const std::string& soundPath) {
  const std::size_t slash = soundPath.find_last_of(kPathSeparators);
  const std::string folder = slash == std::string::npos ? "./" : soundPath.substr(0, slash + 1);
  const std::string stem(NameWithoutExtension(std::string_view(soundPath).substr(folder.size())));
  // The album names the sound after the picture, so the name matches exactly;
  // the wildcard narrows the listing, and matches letters in any case.
  std::vector<FolderEntry> entries;
  if (ListFolder(folder, stem + ".???", entries) != FileError::None) {
    return std::nullopt;
  }
  for (const FolderEntry& entry : entries) {
    const std::string_view name = entry.Name;
    const std::string_view extension = name.substr(std::min(stem.size(), name.size()));
    const bool isGif = EqualsIgnoringAsciiCase(extension, ".gif");
    if (entry.IsFolder || !name.starts_with(stem) ||
        !(isGif || EqualsIgnoringAsciiCase(extension, ".jpg"))) {
      continue;
    }
    if (std::optional<CommentPicture> picture = OpenPicture(folder, entry.Name, isGif)) {
      return picture;
    }
  }
  return std::nullopt;
}
