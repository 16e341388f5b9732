#pragma once

#include <string>

/// A picture's width and height in pixels, as its header gives them.
struct PictureSize {
  int Width = 0;
  int Height = 0;
};

/// Reads a JPEG's frame size (turned by its Exif orientation). True when found.
bool ReadJpegSize(const std::string& path, PictureSize& size);

/// Reads a GIF's logical screen size. True when found.
bool ReadGifSize(const std::string& path, PictureSize& size);

/// Shrinks one side of the first square width/height box in `text` to the
/// picture's proportions, in place, keeping the text's length. Any failure
/// leaves the text as it was.
void FitImageBox(std::string& text, const std::string& picturePath);
