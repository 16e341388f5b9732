#pragma once

#include <string>

// The bytes of tiny picture files whose headers give a chosen size; nothing
// after the headers is a real picture, which no reader of sizes looks at.

/// A baseline JPEG: start of image, a JFIF segment, the frame header, end.
inline std::string JpegBytes(int width, int height) {
  std::string bytes("\xFF\xD8", 2);
  bytes += std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
  bytes += std::string("\xFF\xC0\x00\x11\x08", 5);
  bytes += static_cast<char>(height >> 8);
  bytes += static_cast<char>(height & 0xFF);
  bytes += static_cast<char>(width >> 8);
  bytes += static_cast<char>(width & 0xFF);
  bytes += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  bytes += std::string("\xFF\xD9", 2);
  return bytes;
}

/// A GIF89a header with its logical screen size, and the trailer.
inline std::string GifBytes(int width, int height) {
  std::string bytes = "GIF89a";
  bytes += static_cast<char>(width & 0xFF);
  bytes += static_cast<char>(width >> 8);
  bytes += static_cast<char>(height & 0xFF);
  bytes += static_cast<char>(height >> 8);
  bytes += std::string("\x00\x00\x00\x3B", 4);
  return bytes;
}
