#include "album/jpeg_layout.h"

#include <algorithm>
#include <cstring>

#include "album/jpeg_header.h"

namespace {

constexpr int kStartOfScan = 0xDA;
constexpr int kEndOfImage = 0xD9;

// Markers that stand alone, without a length: restarts, TEM, start of image.
bool StandsAlone(int marker) {
  return (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01;
}

const unsigned char* Bytes(std::string_view bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

// The blocks of all components: each is sampled at its factors' share of
// the largest ones, rounded up, in blocks of 8 by 8.
std::int64_t BlocksOfFrame(const unsigned char* frame, int components, int width, int height) {
  int largestH = 1;
  int largestV = 1;
  for (int c = 0; c < components; ++c) {
    largestH = std::max(largestH, frame[3 * c + 1] >> 4);
    largestV = std::max(largestV, frame[3 * c + 1] & 0x0F);
  }
  std::int64_t blocks = 0;
  for (int c = 0; c < components; ++c) {
    const int factors = frame[3 * c + 1];
    const std::int64_t columns = (std::int64_t{width} * (factors >> 4) + largestH - 1) / largestH;
    const std::int64_t rows = (std::int64_t{height} * (factors & 0x0F) + largestV - 1) / largestV;
    blocks += ((columns + 7) / 8) * ((rows + 7) / 8);
  }
  return blocks;
}

// Past the coded data of a scan: to the first marker that is neither a
// stuffed zero nor a restart. The size when there is none.
std::size_t EndOfScan(std::string_view bytes, std::size_t at) {
  const unsigned char* data = Bytes(bytes);
  while (at + 1 < bytes.size()) {
    const void* found = std::memchr(data + at, 0xFF, bytes.size() - at - 1);
    if (found == nullptr) {
      break;
    }
    at = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - data);
    const int next = data[at + 1];
    if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) {
      return at;
    }
    at += next == 0xFF ? 1 : 2;  // a run of fill bytes may end in a marker
  }
  return bytes.size();
}

}  // namespace

bool ReadJpegLayout(std::string_view bytes, JpegLayout& layout) {
  const unsigned char* data = Bytes(bytes);
  if (bytes.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) {
    return false;
  }
  layout = JpegLayout{};
  std::size_t at = 2;
  while (at + 1 < bytes.size()) {
    if (data[at] != 0xFF) {
      // Stray bytes where a marker belongs: decoders pass them, and so do we.
      const void* found = std::memchr(data + at, 0xFF, bytes.size() - at);
      if (found == nullptr) {
        break;
      }
      at = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - data);
      continue;
    }
    const int marker = data[at + 1];
    at += 2;
    if (marker == 0xFF) {
      --at;  // a fill byte before the marker
      continue;
    }
    if (marker == kEndOfImage) {
      layout.Ends = layout.Precision != 0;
      break;
    }
    if (StandsAlone(marker)) {
      continue;
    }
    if (at + 2 > bytes.size()) {
      break;
    }
    const std::size_t length = (data[at] << 8) | data[at + 1];
    if (length < 2 || at + length > bytes.size()) {
      break;
    }
    if (IsStartOfFrame(marker) && layout.Precision == 0 && length >= 8) {
      layout.FrameMarker = marker;
      layout.Precision = data[at + 2];
      layout.Height = (data[at + 3] << 8) | data[at + 4];
      layout.Width = (data[at + 5] << 8) | data[at + 6];
      layout.Components = data[at + 7];
      if (length >= 8 + 3 * static_cast<std::size_t>(layout.Components)) {
        layout.Blocks =
            BlocksOfFrame(data + at + 8, layout.Components, layout.Width, layout.Height);
      }
    }
    at += length;
    if (marker == kStartOfScan) {
      const std::size_t end = EndOfScan(bytes, at);
      layout.CodedBytes += static_cast<std::int64_t>(end - at);
      at = end;
    }
  }
  return layout.Precision != 0;
}

bool DataTooShortForFrame(const JpegLayout& layout) {
  return layout.CodedBytes * 8 < layout.Blocks;
}
