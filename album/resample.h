#pragma once

#include "album/pixel_image.h"

/// The pictures a resampling passes through on its way.
struct ResampleBuffers {
  PixelImage Rows;          ///< scaled along the columns
  PixelImage Across;        ///< that, rows turned to columns
  PixelImage AcrossScaled;  ///< that, scaled
};

/// `in` scaled to `width` by `height` (both at least 1) with a cubic filter
/// (Catmull-Rom), widened by the reduction so that fine detail averages out
/// instead of turning into jagged edges or moiré. Sides are scaled apart, so
/// the proportions may change.
/// `buffers` holds the steps between; kept from call to call, their memory
/// is reused instead of being taken from the system again. `out` must not be
/// `in`.
void Resample(const PixelImage& in, int width, int height, PixelImage& out,
              ResampleBuffers& buffers);
