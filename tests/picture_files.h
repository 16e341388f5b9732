#pragma once

#include <string>

// The bytes of tiny picture files whose headers give a chosen size; nothing
// after the headers is a real picture, which no reader of sizes looks at.

/// A baseline JPEG: start of image, a JFIF segment, the frame header, end.
inline std::string JpegBytes(int width, int height) {
  std::string bytes(
      "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
      "\xFF\xC0\x00\x11\x08",
      25);
  for (const int side : {height, width}) {
    bytes += static_cast<char>(side >> 8);
    bytes += static_cast<char>(side & 0xFF);
  }
  return bytes + std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xFF\xD9", 12);
}

/// A GIF89a header with its logical screen size, and the trailer.
inline std::string GifBytes(int width, int height) {
  std::string bytes = "GIF89a";
  for (const int side : {width, height}) {
    bytes += static_cast<char>(side & 0xFF);
    bytes += static_cast<char>(side >> 8);
  }
  return bytes + std::string("\x00\x00\x00\x3B", 4);
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
