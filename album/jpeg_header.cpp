#include "album/jpeg_header.h"

#include <utility>

#include "album/byte_stream.h"
#include "album/exif_orientation.h"

namespace {

constexpr int kApp1Marker = 0xE1;

bool ReadStartOfImage(ByteStream& in) {
  unsigned char soi[2];
  return in.Read(soi, sizeof soi) && soi[0] == 0xFF && soi[1] == 0xD8;
}

}  // namespace

bool ReadJpegHeader(ByteSource& file, PictureSize& stored, int& orientation) {
  ByteStream in{file};
  if (!ReadStartOfImage(in)) {
    return false;
  }
  orientation = 0;
  for (;;) {
    // Fill bytes and markers without a length get no special treatment:
    // their next two bytes are taken as a length.
    unsigned char header[4];
    if (!in.Read(header, sizeof header) || header[0] != 0xFF) {
      return false;
    }
    const int marker = header[1];
    const int length = BigEndian16(header + 2);
    if (IsStartOfFrame(marker)) {
      // Sample precision, then height and width.
      unsigned char frame[5];
      if (!in.Read(frame, sizeof frame)) {
        return false;
      }
      stored.Height = BigEndian16(frame + 1);
      stored.Width = BigEndian16(frame + 3);
      return true;
    }
    // The length counts its own two bytes; a smaller one would lead backwards
    // into bytes that can never be a segment header.
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

bool ReadJpegSize(ByteSource& file, PictureSize& size) {
  PictureSize stored;
  int orientation = 0;
  if (!ReadJpegHeader(file, stored, orientation)) {
    return false;
  }
  size = stored;
  if (OrientationSwapsSides(orientation)) {
    std::swap(size.Width, size.Height);
  }
  return true;
}
