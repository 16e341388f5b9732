#pragma once

#include <cstddef>

#include "album/byte_stream.h"

/// Reads the Orientation tag (0x0112) of IFD0 from a JPEG APP1 segment whose
/// payload (what follows its length field) starts at `in`'s position and is
/// `payloadLength` bytes long. Reads only the "Exif\0\0" mark, the TIFF header
/// and IFD0's entries, never beyond the payload (so never a thumbnail's data
/// behind it), and leaves `in` somewhere inside the payload.
/// Returns 1 to 8, or 0 when the payload is no Exif block, is malformed, or
/// names no valid orientation.
int ReadExifOrientation(ByteStream& in, std::size_t payloadLength);

/// True for the orientations (5 to 8) whose upright picture is the stored
/// one turned by a quarter, so that width and height trade places.
bool OrientationSwapsSides(int orientation);
