#pragma once

#include "album/byte_stream.h"
#include "album/picture_size.h"

/// True for the markers of a frame header: C0 to CF, except C4 (Huffman
/// tables), C8 (reserved) and CC (arithmetic coding conditioning).
inline bool IsStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

/// Reads a JPEG's frame size from `file`, starting at its current position
/// (the start of the image). Walks the segment headers up to the first frame
/// header, passing every other segment with one forward seek; an Exif APP1
/// segment before the frame is looked into for its orientation, and width and
/// height are swapped for a picture stored turned by a quarter.
/// True when a frame header was found; `size` is untouched otherwise.
bool ReadJpegSize(ByteSource& file, PictureSize& size);

/// The same walk, giving the size as stored (not turned) and the Exif
/// orientation (1 to 8, or 0 for none), for whoever turns the picture itself.
bool ReadJpegHeader(ByteSource& file, PictureSize& stored, int& orientation);
