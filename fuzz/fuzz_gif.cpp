// GIF header reading on arbitrary bytes.
#include <cstring>

#include "album/picture_size.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = OpenInput(data, size);
  PictureSize picture{-1, -1};
  StreamSource source(input.get());
  const bool found = ReadGifSize(source, picture);
  FUZZ_CHECK(found == (size >= 10 && std::memcmp(data, "GIF8", 4) == 0));
  FUZZ_CHECK(!found || (picture.Width == (data[6] | data[7] << 8) &&
                        picture.Height == (data[8] | data[9] << 8)));
  return 0;
}
