#pragma once

#include <optional>
#include <string>

#include "album/byte_stream.h"

/// A picture's width and height in pixels, as its header gives them.
struct PictureSize {
  int Width = 0;
  int Height = 0;
};

/// Reads a JPEG's frame size (turned by its Exif orientation). True when found.
bool ReadJpegSize(const std::string& path, PictureSize& size, bool listedRegular = false);

/// Reads a GIF's logical screen size. True when found.
bool ReadGifSize(const std::string& path, PictureSize& size, bool listedRegular = false);

/// The same from an open source, from its current position.
bool ReadGifSize(ByteSource& file, PictureSize& size);

/// The size of a ".jpg" or ".gif" file (in any letter case), read as what its
/// extension says it is; none for any other file or when none can be read.
/// `listedRegular`: a listing saw a regular file there (HeaderFile).
std::optional<PictureSize> ReadPictureSize(const std::string& picturePath,
                                           bool listedRegular = false);

/// Shrinks one side of the first square width/height box in `text` to the
/// picture's proportions, in place, keeping the text's length. Any failure
/// leaves the text as it was.
/// Only ".jpg" and ".gif" files (in any letter case) are read, each only as
/// what its extension says.
void FitImageBox(std::string& text, const std::string& picturePath);

/// FitImageBox for a size already known. The box is the integers after the
/// first `width="` and the first `height="`, read as "%d" reads; only equal
/// ones are fitted. A size of 0 by 0 leaves the text as it was.
void FitImageBoxToSize(std::string& text, PictureSize size);
