#pragma once

#include <string>

// The bytes of tiny picture files whose headers give a chosen size; nothing
// after the headers is a real picture, which no reader of sizes looks at.

/// `value` as `count` bytes, most significant first unless `bigEndian` is false.
inline std::string Bytes(unsigned value, int count, bool bigEndian = true) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += static_cast<char>(value >> 8 * (bigEndian ? count - 1 - i : i));
  }
  return out;
}

/// A JPEG segment: marker, length (counting itself), payload.
inline std::string JpegSegment(int marker, const std::string& payload) {
  return "\xFF" + Bytes(marker, 1) + Bytes(payload.size() + 2, 2) + payload;
}

/// A frame header with three components, as an encoder writes it.
inline std::string JpegFrame(int marker, int width, int height) {
  return JpegSegment(marker, "\x08" + Bytes(height, 2) + Bytes(width, 2) +
                                 std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10));
}

/// A baseline JPEG: start of image, a JFIF segment, the frame header, end.
inline std::string JpegBytes(int width, int height) {
  return "\xFF\xD8" + JpegSegment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14)) +
         JpegFrame(0xC0, width, height) + "\xFF\xD9";
}

/// A GIF89a header with its logical screen size, and the trailer.
inline std::string GifBytes(int width, int height) {
  return "GIF89a" + Bytes(width, 2, false) + Bytes(height, 2, false) + std::string("\0\0\0\x3B", 4);
}

// An index template of two cells a row, and what the generator makes of it.
inline const std::string kIndexHead = "<html><body><table>\r\n<tr>\r\n";
inline const std::string kIndexCell =
    "<td><a href=\"__picture.html\"><img src=\"__picture.jpg\" width=\"120\" "
    "height=\"120\"></a><br>Picture text</td>\r\n";
inline const std::string kIndexTail = "</tr>\r\n</table></body></html>\r\n";
inline const std::string kNextRow = "</tr>\r\n<tr>\r\n";
inline const std::string kTwoColumnIndex = kIndexHead + kIndexCell + kIndexCell + kIndexTail;

/// A filled cell of kIndexCell.
inline std::string Cell(const std::string& link, const std::string& image,
                        const std::string& caption, const std::string& width = "120",
                        const std::string& height = "120") {
  return "<td><a href=\"" + link + ".html\"><img src=\"" + image + "\" width=\"" + width +
         "\" height=\"" + height + "\"></a><br>" + caption + "</td>\r\n";
}
