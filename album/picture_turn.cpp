#include "album/picture_turn.h"

#include <cstddef>
#include <cstring>

#include "album/exif_orientation.h"

namespace {

// Where the upright picture's pixel (x, y) lies in the stored one, as a start
// and a step per upright column and per upright row, in pixels.
struct Walk {
  std::ptrdiff_t Start = 0;
  std::ptrdiff_t ColumnStep = 1;
  std::ptrdiff_t RowStep = 0;
};

Walk WalkFor(int orientation, std::ptrdiff_t width, std::ptrdiff_t height) {
  const std::ptrdiff_t last = width * height - 1;
  switch (orientation) {
    case 2:  // mirrored left to right
      return {width - 1, -1, width};
    case 3:  // half a turn
      return {last, -1, -width};
    case 4:  // mirrored top to bottom
      return {last - (width - 1), 1, -width};
    case 5:  // mirrored along the diagonal from the top left
      return {0, width, 1};
    case 6:  // stored a quarter turn anticlockwise: the stored left column is the top row
      return {last - (width - 1), -width, 1};
    case 7:  // mirrored along the other diagonal
      return {last, -width, -1};
    case 8:  // stored a quarter turn clockwise: the stored right column is the top row
      return {width - 1, width, -1};
    default:
      return {0, 1, width};
  }
}

}  // namespace

void TurnUpright(const PixelImage& stored, int orientation, PixelImage& upright) {
  if (orientation < 2 || orientation > 8) {
    upright = stored;
    return;
  }
  if (OrientationSwapsSides(orientation)) {
    upright.Resize(stored.Height, stored.Width);
  } else {
    upright.Resize(stored.Width, stored.Height);
  }
  const Walk walk = WalkFor(orientation, stored.Width, stored.Height);
  constexpr int kBytes = PixelImage::kPixelBytes;
  for (int y = 0; y < upright.Height; ++y) {
    unsigned char* out = upright.Row(y);
    std::ptrdiff_t at = walk.Start + walk.RowStep * y;
    for (int x = 0; x < upright.Width; ++x, at += walk.ColumnStep, out += kBytes) {
      std::memcpy(out, stored.Pixels.data() + at * kBytes, kBytes);
    }
  }
}
