#include "album/copy_size.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(CopySize, LongSideAsAskedShortSideInProportionNeverLargerThanThePicture) {
  // picture, long side, copy (0 by 0: none, the original serves)
  const std::tuple<PictureSize, int, PictureSize> cases[] = {
      {{4000, 3000}, 1600, {1600, 1200}},
      {{3000, 4000}, 400, {300, 400}},
      {{6000, 4000}, 800, {800, 533}},  // 533.33 rounds down
      {{1000, 15}, 100, {100, 2}},      // 1.5 rounds up
      {{1000, 1}, 400, {400, 1}},       // never thinner than one pixel
      {{1, 1000}, 400, {1, 400}},
      {{401, 401}, 400, {400, 400}},
      {{400, 300}, 400, {0, 0}},  // as large as asked: the original
      {{300, 400}, 1600, {0, 0}},
      {{0, 0}, 400, {0, 0}},  // no size known
      {{65535, 65535}, 1600, {1600, 1600}},
  };
  for (const auto& [picture, longSide, expected] : cases) {
    const auto copy = CopySize(picture, longSide);
    const PictureSize got = copy.value_or(PictureSize{});
    EXPECT_EQ(got.Width, expected.Width)
        << picture.Width << "x" << picture.Height << " " << longSide;
    EXPECT_EQ(got.Height, expected.Height)
        << picture.Width << "x" << picture.Height << " " << longSide;
  }
}

}  // namespace
