// A GIF's first frame decoded from arbitrary bytes, as the copies decode it.
#include <string_view>

#include "album/gif_decoder.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PixelImage image;
  // A small screen limit keeps every run quick; the limit itself is checked.
  constexpr std::int64_t kMaxPixels = 1 << 20;
  const CopyProblem problem = DecodeGifFirstFrame(bytes, kMaxPixels, image);
  if (problem == CopyProblem::None) {
    // The picture is the logical screen, whole.
    FUZZ_CHECK(size >= 10 && image.Width == (data[6] | data[7] << 8) &&
               image.Height == (data[8] | data[9] << 8));
    FUZZ_CHECK(image.Pixels.size() == image.Stride() * static_cast<std::size_t>(image.Height));
  }
  FUZZ_CHECK(
      problem != CopyProblem::TooLarge ||
      (size >= 10 && std::int64_t{data[6] | data[7] << 8} * (data[8] | data[9] << 8) > kMaxPixels));
  return 0;
}
