#pragma once

#include "album/pixel_image.h"

/// Turns and mirrors `stored`, as its Exif orientation (1 to 8) says, into
/// `upright`: the picture as it is meant to be seen. Orientations 5 to 8
/// trade width and height; 0, 1 and any other value copy it as it is.
/// Done here rather than by a system's codec, so that every system turns the
/// same way (Wine's imaging component cannot turn by a quarter).
void TurnUpright(const PixelImage& stored, int orientation, PixelImage& upright);
