// Box fitting: the first four bytes are the picture's width and height
// (little-endian, 16 bits each), the rest is the page text.
#include <cstdint>
#include <string>
#include <string_view>

#include "album/picture_size.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) {
    return 0;
  }
  const std::string before(reinterpret_cast<const char*>(data) + 4, size - 4);
  std::string text = before;
  FitImageBoxToSize(text, {data[0] | data[1] << 8, data[2] | data[3] << 8});
  FUZZ_CHECK(text.size() == before.size());
  // Only a box value changes: digits, a sign and white space, and no sign is written.
  const std::string_view box = "0123456789 -+\t\n\v\f\r";
  for (std::size_t i = 0; i < text.size(); ++i) {
    FUZZ_CHECK(text[i] == before[i] || (box.find(before[i]) != box.npos &&
                                        box.find(text[i]) != box.npos && text[i] != '+'));
  }
  return 0;
}
