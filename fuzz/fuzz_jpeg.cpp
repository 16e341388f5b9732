// JPEG header walk, Exif orientation included, on arbitrary bytes.
#include <algorithm>
#include <cstring>

#include "album/byte_stream.h"
#include "album/exif_orientation.h"
#include "album/jpeg_header.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = OpenInput(data, size);
  StreamSource source(input.get());
  PictureSize picture{-1, -1};
  // Sides are 16 bits; a failed walk leaves the size untouched.
  FUZZ_CHECK(ReadJpegSize(source, picture) ? (picture.Width | picture.Height) >> 16 == 0
                                           : picture.Width == -1 && picture.Height == -1);
  // The input as an APP1 payload, with a declared length that may end before
  // the data does: nothing past that length may be read.
  if (size >= 4 && std::memcmp(data, "Exif", 4) == 0) {
    std::rewind(input.get());
    const std::size_t payloadLength = size - std::min<std::size_t>(size, data[size - 1] % 32);
    ByteStream in{source};
    const int orientation = ReadExifOrientation(in, payloadLength);
    FUZZ_CHECK(orientation >= 0 && orientation <= 8 && in.Position <= payloadLength);
  }
  return 0;
}
