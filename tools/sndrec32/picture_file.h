#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "album/picture_size.h"
#include "platform/file_system.h"

/// Pictures larger than these are not shown. A JPEG is decoded at a fraction
/// of its size, yet all of its data is read; a GIF is decoded whole.
inline constexpr std::int64_t kMaxJpegPixels = 120'000'000;
inline constexpr std::int64_t kMaxGifPixels = 16'000'000;

/// The picture a voice comment belongs to, its header read and the file open
/// at its start, so that what is decoded is the regular file that was checked.
struct CommentPicture {
  std::string Name;  ///< The file's name, without its folder.
  bool IsGif = false;
  PictureSize Stored;   ///< Width and height as stored, before turning.
  int Orientation = 1;  ///< Exif orientation, 1 (as stored) to 8.
  OpenStream File;
};

/// The picture's size as the album sees it: Stored, turned by a quarter for
/// orientations 5 to 8.
PictureSize UprightSize(const CommentPicture& picture);

/// The size `picture` is shown at in `box`: its upright size fitted into the
/// box, keeping its proportions (rounded down).
PictureSize FittedSize(const CommentPicture& picture, PictureSize box);

/// The picture of the voice comment `soundPath` (NAME.wav): NAME.jpg or
/// NAME.gif beside it, the extension in any letter case, read as what its
/// extension says; of several, the first in the folder's order that can be
/// shown. None when none is a regular file whose header can be read and
/// whose size is within the limits above.
std::optional<CommentPicture> FindPicture(const std::string& soundPath);
