#include "album/resample.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

// A picture whose every byte of pixel (x, y) is `shade(x, y)`.
PixelImage Shaded(int width, int height, const std::function<int(int, int)>& shade) {
  PixelImage image;
  image.Resize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 4; ++c) {
        image.Row(y)[x * 4 + c] = static_cast<unsigned char>(shade(x, y));
      }
    }
  }
  return image;
}

// The largest difference of any byte of `image` from what `shade` expects.
int Farthest(const PixelImage& image, const std::function<int(int, int)>& shade) {
  int farthest = 0;
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width * 4; ++x) {
      farthest = std::max(farthest, std::abs(image.Row(y)[x] - shade(x / 4, y)));
    }
  }
  return farthest;
}

TEST(Resample, FlatStaysFlatFineDetailAveragesOutEdgesStayInPlace) {
  ResampleBuffers buffers;
  PixelImage out;
  const auto flat = [](int, int) { return 77; };
  const auto checks = [](int x, int y) { return (x + y) % 2 == 0 ? 255 : 0; };
  const auto halves = [](int x, int) { return x < 60 ? 0 : 255; };
  struct Case {
    const char* Name;
    std::function<int(int, int)> In;
    int Width, Height;
    std::function<int(int, int)> Out;
    int Tolerance;
  } const cases[] = {
      {"flat, reduced by odd factors", flat, 37, 23, flat, 0},
      {"flat, enlarged", flat, 250, 150, flat, 0},
      // Pixel-sized checks must turn grey, not into moiré or stripes.
      {"checks reduced by 2.5", checks, 48, 36, [](int, int) { return 127; }, 3},
      {"checks reduced by 8", checks, 15, 11, [](int, int) { return 127; }, 3},
      // The edge at 60 of 120 lands at 20 of 40, the halves stay as they were.
      {"halves", halves, 40, 30, [](int x, int) { return x < 19   ? 0
                                                         : x > 20 ? 255
                                                                  : -1000; }, 0},
  };
  for (const Case& c : cases) {
    const PixelImage in = Shaded(120, 90, c.In);
    Resample(in, c.Width, c.Height, out, buffers);
    ASSERT_EQ(out.Width, c.Width) << c.Name;
    ASSERT_EQ(out.Height, c.Height) << c.Name;
    const auto expected = [&](int x, int y) {
      const int shade = c.Out(x, y);
      return shade < 0 ? out.Row(y)[x * 4] : shade;  // the two pixels at the edge: any
    };
    EXPECT_LE(Farthest(out, expected), c.Tolerance) << c.Name;
  }
}

}  // namespace
