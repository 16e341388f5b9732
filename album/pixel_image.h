#pragma once

#include <cstddef>
#include <vector>

/// A picture in memory: rows top to bottom, four bytes a pixel (red, green,
/// blue and one unused, so that a pixel is one 32-bit word that vector
/// instructions take whole), no padding between rows.
struct PixelImage {
  static constexpr int kPixelBytes = 4;

  int Width = 0;
  int Height = 0;
  std::vector<unsigned char> Pixels;

  /// Sizes the image for `width` by `height` pixels; the content is unspecified.
  void Resize(int width, int height) {
    Width = width;
    Height = height;
    Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kPixelBytes);
  }
  std::size_t Stride() const { return static_cast<std::size_t>(Width) * kPixelBytes; }
  unsigned char* Row(int y) { return Pixels.data() + Stride() * static_cast<std::size_t>(y); }
  const unsigned char* Row(int y) const {
    return Pixels.data() + Stride() * static_cast<std::size_t>(y);
  }
};
