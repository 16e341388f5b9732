#include "album/picture_size.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "album/byte_stream.h"
#include "album/html_template.h"
#include "album/jpeg_header.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/path_syntax.h"

namespace {

// Only a few header bytes are wanted, read straight from the file: the JPEG
// reader keeps its own small buffer, and a stream would cost an allocation
// and a buffer per picture. Only a regular file is a picture: a FIFO must
// never hold the run up.
struct PictureHeader : ByteSource {
  PictureHeader(const std::string& path, bool listedRegular) : File(path, listedRegular) {}
  std::size_t Read(unsigned char* buffer, std::size_t size) override {
    return File.Read(buffer, size);
  }
  bool Skip(std::uint64_t count) override { return File.Skip(count); }
  HeaderFile File;
};

// One attribute value of the box: [Begin, End) holds the number as read,
// leading white space and sign included.
struct BoxValue {
  std::size_t Begin = 0;
  std::size_t End = 0;
  int Value = 0;
};

bool IsScanfSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a decimal integer as "%d" does: optional white space, optional sign,
// digits. A value outside int's range is no box.
std::optional<BoxValue> ReadBoxValue(std::string_view text, std::string_view attribute) {
  const std::optional<std::size_t> begin = FindAfter(text, attribute);
  if (!begin) {
    return std::nullopt;
  }
  std::size_t at = *begin;
  while (at < text.size() && IsScanfSpace(text[at])) {
    ++at;
  }
  const std::size_t signAt = at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    ++at;
  }
  const std::size_t digitsAt = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    ++at;
  }
  if (at == digitsAt) {
    return std::nullopt;
  }
  // from_chars takes a '-' but no '+'.
  const char* first = text.data() + (text[signAt] == '+' ? digitsAt : signAt);
  BoxValue value{*begin, at, 0};
  const auto [end, error] = std::from_chars(first, text.data() + at, value.Value);
  if (error != std::errc() || end != text.data() + at) {
    return std::nullopt;
  }
  return value;
}

// Writes `number` over the value, padded with spaces so that the text keeps
// its length. Leading white space and a sign are part of what is replaced, so
// the number never lands behind stale characters.
void RewriteValue(std::string& text, const BoxValue& value, double number) {
  if (!(number > static_cast<double>(INT_MIN) - 1.0 &&
        number < static_cast<double>(INT_MAX) + 1.0)) {
    return;
  }
  char digits[16];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, static_cast<int>(number));
  const std::size_t length = static_cast<std::size_t>(end - digits);
  if (error != std::errc() || length > value.End - value.Begin) {
    return;
  }
  text.replace(value.Begin, value.End - value.Begin, value.End - value.Begin, ' ');
  text.replace(value.Begin, length, digits, length);
}

}  // namespace

bool ReadJpegSize(const std::string& path, PictureSize& size, bool listedRegular) {
  PictureHeader file(path, listedRegular);
  return file.File && ReadJpegSize(file, size);
}

bool ReadGifSize(ByteSource& file, PictureSize& size) {
  // "GIF87a" or "GIF89a", then the logical screen's width and height.
  unsigned char header[10];
  std::size_t got = 0;
  for (std::size_t read = 1; got < sizeof header && read > 0; got += read) {
    read = file.Read(header + got, sizeof header - got);
  }
  if (got < sizeof header || std::memcmp(header, "GIF8", 4) != 0) {
    return false;
  }
  size.Width = LittleEndian16(header + 6);
  size.Height = LittleEndian16(header + 8);
  return true;
}

bool ReadGifSize(const std::string& path, PictureSize& size, bool listedRegular) {
  PictureHeader file(path, listedRegular);
  return file.File && ReadGifSize(file, size);
}

void FitImageBoxToSize(std::string& text, PictureSize size) {
  // Without any size there are no proportions to keep.
  if (size.Width == 0 && size.Height == 0) {
    return;
  }
  const std::optional<BoxValue> width = ReadBoxValue(text, "width=\"");
  const std::optional<BoxValue> height = ReadBoxValue(text, "height=\"");
  if (!width || !height || width->Value != height->Value) {
    return;
  }
  const double box = width->Value;
  const double ratio = static_cast<double>(size.Width) / static_cast<double>(size.Height);
  if (ratio > 1.0) {
    RewriteValue(text, *height, box / ratio + 0.5);
  } else {
    RewriteValue(text, *width, box * ratio + 0.5);
  }
}

std::optional<PictureSize> ReadPictureSize(const std::string& picturePath, bool listedRegular) {
  // The extension: from the last '.' after the last separator, as PathPart's "type".
  const std::size_t nameAt = picturePath.find_last_of(kPathSeparators) + 1;
  const std::size_t dot = picturePath.rfind('.');
  const std::string_view type = dot != std::string::npos && dot >= nameAt
                                    ? std::string_view(picturePath).substr(dot)
                                    : std::string_view();
  PictureSize size;
  // A file is read only as what its extension says it is.
  const bool found =
      EqualsIgnoringAsciiCase(type, ".jpg")   ? ReadJpegSize(picturePath, size, listedRegular)
      : EqualsIgnoringAsciiCase(type, ".gif") ? ReadGifSize(picturePath, size, listedRegular)
                                              : false;
  return found ? std::optional<PictureSize>(size) : std::nullopt;
}

void FitImageBox(std::string& text, const std::string& picturePath) {
  if (const std::optional<PictureSize> size = ReadPictureSize(picturePath)) {
    FitImageBoxToSize(text, *size);
  }
}
