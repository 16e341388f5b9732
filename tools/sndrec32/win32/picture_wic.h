#pragma once

#include <cstdint>
#include <vector>

#include "tools/sndrec32/picture_file.h"

/// A picture ready to draw: 32-bit BGRX pixels, top row first.
struct DecodedPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
};

/// `picture` decoded with WIC at FittedSize in `box` and turned upright by its
/// Exif orientation; a GIF's first frame. Reads from the picture's open file.
/// Empty when it cannot be decoded. Runs on any thread.
DecodedPicture DecodePicture(CommentPicture& picture, PictureSize box);
