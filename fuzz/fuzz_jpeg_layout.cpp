// A JPEG's layout (frame, scans, end) read from arbitrary bytes.
#include <string_view>

#include "album/jpeg_layout.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  JpegLayout layout;
  const bool found = ReadJpegLayout(bytes, layout);
  FUZZ_CHECK(found == (layout.Precision != 0));
  FUZZ_CHECK(!layout.Ends || found);
  FUZZ_CHECK(layout.CodedBytes >= 0 && static_cast<std::size_t>(layout.CodedBytes) <= size);
  FUZZ_CHECK((layout.Width | layout.Height) >> 16 == 0 && layout.Blocks >= 0);
  return 0;
}
