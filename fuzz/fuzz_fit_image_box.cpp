// Box fitting: the first four bytes are the picture's width and height
// (little-endian, 16 bits each), the rest is the page text.
#include <cstdint>
#include <cstring>
#include <string>

#include "album/picture_size.h"
#include "fuzz/fuzz_check.h"

namespace {

// What a box value may hold before and after it is rewritten.
bool MayBeRewritten(char c) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '+' || c == '\t' || c == '\n' ||
         c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) {
    return 0;
  }
  const PictureSize picture{data[0] | data[1] << 8, data[2] | data[3] << 8};
  const std::string before(reinterpret_cast<const char*>(data) + 4, size - 4);
  std::string text = before;
  FitImageBoxToSize(text, picture);
  FUZZ_CHECK(text.size() == before.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != before[i]) {
      FUZZ_CHECK(MayBeRewritten(before[i]) && MayBeRewritten(text[i]) && text[i] != '+');
    }
  }
  // Fitting again changes nothing unless the box is still square.
  std::string again = text;
  FitImageBoxToSize(again, picture);
  FUZZ_CHECK(again.size() == text.size());
  return 0;
}
