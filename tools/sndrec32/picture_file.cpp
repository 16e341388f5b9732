#include "tools/sndrec32/picture_file.h"

#include <string_view>
#include <utility>
#include <vector>

#include "album/album_entry.h"
#include "album/byte_stream.h"
#include "album/exif_orientation.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"

namespace {

constexpr int kApp1Marker = 0xE1;

// C0 to CF carry a frame header, except C4, C8 and CC.
bool IsStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The album's reader walks the same segments by the same rules but gives only
// the turned size; the picture itself must be turned too, so this keeps the
// orientation: the first APP1 segment that names one, before the frame.
bool ReadJpegHeader(std::FILE* file, PictureSize& stored, int& orientation) {
  ByteStream in{file};
  unsigned char soi[2];
  if (!in.Read(soi, sizeof soi) || soi[0] != 0xFF || soi[1] != 0xD8) {
    return false;
  }
  orientation = 0;
  for (;;) {
    unsigned char header[4];
    if (!in.Read(header, sizeof header) || header[0] != 0xFF) {
      return false;
    }
    const int marker = header[1];
    const int length = BigEndian16(header + 2);
    if (IsStartOfFrame(marker)) {
      unsigned char frame[5];  // sample precision, height, width
      if (!in.Read(frame, sizeof frame)) {
        return false;
      }
      stored = {.Width = BigEndian16(frame + 3), .Height = BigEndian16(frame + 1)};
      return true;
    }
    if (length < 2) {
      return false;
    }
    const std::uint64_t segmentEnd = in.Position + static_cast<std::uint64_t>(length - 2);
    if (marker == kApp1Marker && orientation == 0) {
      orientation = ReadExifOrientation(in, static_cast<std::size_t>(length - 2));
    }
    if (!in.Skip(segmentEnd - in.Position)) {
      return false;
    }
  }
}

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
  picture.File.reset(OpenRegularFile(folder + name));
  if (!picture.File) {
    return std::nullopt;
  }
  std::FILE* file = picture.File.get();
  const bool read = isGif ? ReadGifSize(file, picture.Stored)
                          : ReadJpegHeader(file, picture.Stored, picture.Orientation);
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

std::optional<CommentPicture> FindPicture(const std::string& soundPath) {
  const std::size_t slash = soundPath.rfind('/');
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
