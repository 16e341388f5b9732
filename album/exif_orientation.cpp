#include "album/exif_orientation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kExifMark[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t kTiffHeaderSize = 8;
constexpr std::size_t kIfdEntrySize = 12;
constexpr int kOrientationTag = 0x0112;
constexpr int kShortType = 3;

// The TIFF block fixes its own byte order in its first two bytes.
struct TiffOrder {
  bool BigEndian = false;

  std::uint32_t U16(const unsigned char* bytes) const {
    return static_cast<std::uint32_t>(BigEndian ? BigEndian16(bytes) : LittleEndian16(bytes));
  }
  std::uint32_t U32(const unsigned char* bytes) const {
    return BigEndian ? (U16(bytes) << 16) | U16(bytes + 2) : U16(bytes) | (U16(bytes + 2) << 16);
  }
};

// Reads the Exif mark and the TIFF header. Returns IFD0's offset from the
// start of the TIFF header, or 0 when the block is not Exif.
std::uint32_t ReadTiffHeader(ByteStream& in, TiffOrder& order) {
  unsigned char head[sizeof kExifMark + kTiffHeaderSize];
  if (!in.Read(head, sizeof head) || std::memcmp(head, kExifMark, sizeof kExifMark) != 0) {
    return 0;
  }
  const unsigned char* tiff = head + sizeof kExifMark;
  if (tiff[0] == 'I' && tiff[1] == 'I') {
    order.BigEndian = false;
  } else if (tiff[0] == 'M' && tiff[1] == 'M') {
    order.BigEndian = true;
  } else {
    return 0;
  }
  if (order.U16(tiff + 2) != 42) {
    return 0;
  }
  return order.U32(tiff + 4);
}

// The orientation in one IFD entry, or 0 when it is not a sound one.
int OrientationOfEntry(const unsigned char* entry, const TiffOrder& order) {
  if (order.U16(entry + 2) != kShortType || order.U32(entry + 4) < 1) {
    return 0;
  }
  // A short value sits in the first two bytes of the value field.
  const std::uint32_t value = order.U16(entry + 8);
  return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
}

}  // namespace

int ReadExifOrientation(ByteStream& in, std::size_t payloadLength) {
  if (payloadLength < sizeof kExifMark + kTiffHeaderSize) {
    return 0;
  }
  const std::size_t tiffLength = payloadLength - sizeof kExifMark;
  TiffOrder order;
  const std::uint32_t ifdOffset = ReadTiffHeader(in, order);
  // IFD0 must lie after the header and leave room for its entry count.
  if (ifdOffset < kTiffHeaderSize || ifdOffset > tiffLength - 2) {
    return 0;
  }
  unsigned char countBytes[2];
  if (!in.Skip(ifdOffset - kTiffHeaderSize) || !in.Read(countBytes, sizeof countBytes)) {
    return 0;
  }
  // Entries that would run past the segment are not read.
  const std::size_t entriesRoom = (tiffLength - ifdOffset - 2) / kIfdEntrySize;
  const std::size_t entryCount = std::min<std::size_t>(order.U16(countBytes), entriesRoom);
  std::vector<unsigned char> entries(entryCount * kIfdEntrySize);
  if (entries.empty() || !in.Read(entries.data(), entries.size())) {
    return 0;
  }
  for (std::size_t i = 0; i < entryCount; ++i) {
    const unsigned char* entry = entries.data() + i * kIfdEntrySize;
    if (order.U16(entry) == kOrientationTag) {
      return OrientationOfEntry(entry, order);
    }
  }
  return 0;
}

bool OrientationSwapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}
