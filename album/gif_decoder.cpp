#include "album/gif_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxCodes = 4096;  // codes are at most 12 bits

// The bytes of the file in order; a read past the end fails and stays failed.
struct Reader {
  std::string_view Bytes;
  std::size_t At = 0;

  bool Take(std::size_t count, const unsigned char*& out) {
    if (Bytes.size() - At < count) {
      At = Bytes.size();
      return false;
    }
    out = reinterpret_cast<const unsigned char*>(Bytes.data()) + At;
    At += count;
    return true;
  }
  int Byte() {
    const unsigned char* byte = nullptr;
    return Take(1, byte) ? *byte : -1;
  }
};

int Little16(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8);
}

struct Palette {
  const unsigned char* Colours = nullptr;
  int Size = 0;
};

// A colour table follows a descriptor whose flags byte has its top bit set.
bool ReadPalette(Reader& in, int flags, Palette& palette) {
  if ((flags & 0x80) == 0) {
    return true;
  }
  palette.Size = 2 << (flags & 0x07);
  return in.Take(static_cast<std::size_t>(palette.Size) * 3, palette.Colours);
}

// Joins a run of data sub-blocks (a length byte, then that many bytes, up to
// a length of 0). False when the file ends first.
bool ReadSubBlocks(Reader& in, std::string* joined) {
  for (;;) {
    const int length = in.Byte();
    const unsigned char* data = nullptr;
    if (length < 0 || !in.Take(static_cast<std::size_t>(length), data)) {
      return false;
    }
    if (length == 0) {
      return true;
    }
    if (joined != nullptr) {
      joined->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    }
  }
}

// The variable-width codes of an LZW stream, least significant bit first.
struct CodeReader {
  std::string_view Data;
  std::size_t Bit = 0;

  int Next(int width) {
    if (Bit + width > Data.size() * 8) {
      return -1;
    }
    int code = 0;
    for (int i = 0; i < width; ++i, ++Bit) {
      code |= ((static_cast<unsigned char>(Data[Bit / 8]) >> (Bit % 8)) & 1) << i;
    }
    return code;
  }
};

// The LZW string table: each code is an earlier code plus one byte.
struct StringTable {
  std::uint16_t Prefix[kMaxCodes];
  unsigned char Last[kMaxCodes];
  unsigned char First[kMaxCodes];
  std::uint16_t Length[kMaxCodes];
};

// Writes the string of `code` at `out[at]`, as far as `out` reaches.
void WriteString(const StringTable& table, int code, std::vector<unsigned char>& out,
                 std::size_t at) {
  for (int i = table.Length[code] - 1; i >= 0; --i) {
    if (at + i < out.size()) {
      out[at + i] = table.Last[code];
    }
    code = table.Prefix[code];
  }
}

// Fills `indices` (sized to the frame) with colour indices. False for a code
// stream that breaks the rules; `filled` tells how far it got.
bool DecodeLzw(std::string_view data, int minimumSize, std::vector<unsigned char>& indices,
               std::size_t& filled) {
  filled = 0;
  if (minimumSize < 1 || minimumSize > 11) {
    return false;
  }
  auto table = std::make_unique<StringTable>();
  const int clear = 1 << minimumSize;
  for (int code = 0; code < clear; ++code) {
    table->Prefix[code] = 0;
    table->Last[code] = table->First[code] = static_cast<unsigned char>(code);
    table->Length[code] = 1;
  }
  CodeReader codes{data};
  int width = minimumSize + 1;
  int next = clear + 2;
  int previous = -1;
  while (filled < indices.size()) {
    const int code = codes.Next(width);
    if (code < 0 || code == clear + 1) {
      return true;  // the stream ends; the caller sees whether the frame is whole
    }
    if (code == clear) {
      width = minimumSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code > next || (code == next && previous < 0)) {
      return false;
    }
    if (previous >= 0 && next < kMaxCodes) {
      // A code one past the table names the previous string plus its own first byte.
      table->Prefix[next] = static_cast<std::uint16_t>(previous);
      table->Last[next] = table->First[code == next ? previous : code];
      table->First[next] = table->First[previous];
      table->Length[next] = static_cast<std::uint16_t>(table->Length[previous] + 1);
      ++next;
      if (next == (1 << width) && width < 12) {
        ++width;
      }
    }
    WriteString(*table, code, indices, filled);
    filled += table->Length[code];
    previous = code;
  }
  return true;
}

// The rows of an interlaced frame come every 8th from 0, every 8th from 4,
// every 4th from 2, then every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) {
      order.push_back(y);
    }
    return order;
  }
  for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
    for (int y = start; y < height; y += step) {
      order.push_back(y);
    }
  }
  return order;
}

struct Frame {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Interlaced = false;
  Palette Colours;
  int Transparent = -1;
};

void Paint(const Frame& frame, const std::vector<unsigned char>& indices, PixelImage& image) {
  const std::vector<int> rows = RowOrder(frame.Height, frame.Interlaced);
  const unsigned char* index = indices.data();
  for (const int y : rows) {
    unsigned char* pixel = image.Row(frame.Top + y) + static_cast<std::size_t>(frame.Left) * 4;
    for (int x = 0; x < frame.Width; ++x, ++index, pixel += 4) {
      if (*index == frame.Transparent) {
        continue;
      }
      if (*index < frame.Colours.Size) {
        std::memcpy(pixel, frame.Colours.Colours + *index * 3, 3);
      } else {
        std::memset(pixel, 0, 3);  // no such colour: black, as browsers show it
      }
    }
  }
}

CopyProblem DecodeFrame(Reader& in, Frame& frame, PixelImage& image) {
  const unsigned char* descriptor = nullptr;
  if (!in.Take(9, descriptor)) {
    return CopyProblem::CutShort;
  }
  frame.Left = Little16(descriptor);
  frame.Top = Little16(descriptor + 2);
  frame.Width = Little16(descriptor + 4);
  frame.Height = Little16(descriptor + 6);
  frame.Interlaced = (descriptor[8] & 0x40) != 0;
  if (frame.Left + frame.Width > image.Width || frame.Top + frame.Height > image.Height) {
    return CopyProblem::SizeDiffers;
  }
  Palette local;
  if (!ReadPalette(in, descriptor[8], local)) {
    return CopyProblem::CutShort;
  }
  if (local.Colours != nullptr) {
    frame.Colours = local;
  }
  const int minimumSize = in.Byte();
  std::string data;
  if (minimumSize < 0 || !ReadSubBlocks(in, &data)) {
    return CopyProblem::CutShort;
  }
  std::vector<unsigned char> indices(static_cast<std::size_t>(frame.Width) * frame.Height);
  std::size_t filled = 0;
  if (!DecodeLzw(data, minimumSize, indices, filled)) {
    return CopyProblem::CannotDecode;
  }
  if (filled < indices.size()) {
    return CopyProblem::CutShort;
  }
  Paint(frame, indices, image);
  return CopyProblem::None;
}

}  // namespace

CopyProblem DecodeGifFirstFrame(std::string_view bytes, std::int64_t maxPixels, PixelImage& image) {
  Reader in{bytes};
  const unsigned char* header = nullptr;
  if (!in.Take(13, header) || std::memcmp(header, "GIF8", 4) != 0) {
    return CopyProblem::CannotDecode;
  }
  const int width = Little16(header + 6);
  const int height = Little16(header + 8);
  if (width < 1 || height < 1) {
    return CopyProblem::CannotDecode;
  }
  if (static_cast<std::int64_t>(width) * height > maxPixels) {
    return CopyProblem::TooLarge;
  }
  Frame frame;
  if (!ReadPalette(in, header[10], frame.Colours)) {
    return CopyProblem::CutShort;
  }
  image.Resize(width, height);
  std::fill(image.Pixels.begin(), image.Pixels.end(), 0xFF);
  for (;;) {
    const int block = in.Byte();
    if (block == 0x2C) {
      return DecodeFrame(in, frame, image);
    }
    if (block != 0x21) {
      // The trailer before any frame, or a byte that starts no block.
      return block < 0 ? CopyProblem::CutShort : CopyProblem::CannotDecode;
    }
    const int label = in.Byte();
    std::string extension;
    if (label < 0 || !ReadSubBlocks(in, &extension)) {
      return CopyProblem::CutShort;
    }
    // A graphic control block: flags, delay, transparent colour index.
    if (label == 0xF9 && extension.size() >= 4 && (extension[0] & 0x01) != 0) {
      frame.Transparent = static_cast<unsigned char>(extension[3]);
    }
  }
}
