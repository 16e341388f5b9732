#pragma once

#include <cstdint>
#include <string_view>

#include "album/copy_problem.h"
#include "album/pixel_image.h"

/// Decodes the first frame of the GIF file held in `bytes` onto a picture of
/// its logical screen size, as a browser shows it before any animation:
/// what the frame leaves uncovered, and its transparent pixels, are white.
/// Problems: CannotDecode (not a GIF, broken codes, no frame), CutShort (the
/// bytes end inside the frame), TooLarge (a screen of more than `maxPixels`),
/// SizeDiffers (the frame reaches outside the screen). `image` is only
/// meaningful when None comes back.
CopyProblem DecodeGifFirstFrame(std::string_view bytes, std::int64_t maxPixels, PixelImage& image);
