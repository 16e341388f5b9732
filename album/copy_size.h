#pragma once

#include <optional>

#include "album/picture_size.h"

/// The size of a copy of a picture whose upright size is `picture` and whose
/// long side is to be `longSide` pixels: the long side exactly that, the short
/// side in proportion, rounded half up and at least 1. None when the picture's
/// long side is not larger than `longSide` (the original serves as it is),
/// and for a size that is no picture (a side below 1).
/// One rule for every system, so copies have the same pixel sizes everywhere.
std::optional<PictureSize> CopySize(PictureSize picture, int longSide);
