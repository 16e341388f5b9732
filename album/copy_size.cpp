#include "album/copy_size.h"

#include <algorithm>
#include <cstdint>

std::optional<PictureSize> CopySize(PictureSize picture, int longSide) {
  const int longer = std::max(picture.Width, picture.Height);
  const int shorter = std::min(picture.Width, picture.Height);
  if (shorter < 1 || longSide < 1 || longer <= longSide) {
    return std::nullopt;
  }
  // In integers, so that no system's floating point can round it otherwise.
  const std::int64_t scaled = (2 * std::int64_t{shorter} * longSide + longer) / (2 * longer);
  const int side = static_cast<int>(std::max<std::int64_t>(scaled, 1));
  if (picture.Width >= picture.Height) {
    return PictureSize{longSide, side};
  }
  return PictureSize{side, longSide};
}
