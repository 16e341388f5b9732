// JPEG header walk, Exif orientation included, on arbitrary bytes.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "album/byte_stream.h"
#include "album/exif_orientation.h"
#include "album/jpeg_header.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckJpegSize(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) {
    return;
  }
  PictureSize picture{-1, -1};
  const bool found = ReadJpegSize(file, picture);
  std::fclose(file);
  if (found) {
    FUZZ_CHECK(picture.Width >= 0 && picture.Width <= 0xFFFF);
    FUZZ_CHECK(picture.Height >= 0 && picture.Height <= 0xFFFF);
  } else {
    FUZZ_CHECK(picture.Width == -1 && picture.Height == -1);
  }
}

// The input as an APP1 payload, with a declared length that may end before
// the data does: nothing past that length may be read.
void CheckExifBlock(const std::uint8_t* data, std::size_t size) {
  const std::size_t payloadLength = size - std::min<std::size_t>(size, data[size - 1] % 32);
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) {
    return;
  }
  ByteStream in{file};
  const int orientation = ReadExifOrientation(in, payloadLength);
  std::fclose(file);
  FUZZ_CHECK(orientation >= 0 && orientation <= 8);
  FUZZ_CHECK(in.Position <= payloadLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  CheckJpegSize(data, size);
  if (size >= 4 && std::memcmp(data, "Exif", 4) == 0) {
    CheckExifBlock(data, size);
  }
  return 0;
}
