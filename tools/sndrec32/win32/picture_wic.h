#pragma once

#include "album/pixel_image.h"
#include "tools/sndrec32/picture_file.h"

/// A picture ready to draw: blue, green, red and one unused byte a pixel.
using DecodedPicture = PixelImage;

/// `picture` decoded with WIC at FittedSize in `box` and turned upright by its
/// Exif orientation; a GIF's first frame. Reads from the picture's open file.
/// Empty when it cannot be decoded. Runs on any thread.
DecodedPicture DecodePicture(CommentPicture& picture, PictureSize box);
