#include "album/picture_turn.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TurnUpright, EachExifOrientationShowsThePictureAsMeant) {
  // Stored 3 by 2, pixels numbered in reading order:  1 2 3
  //                                                   4 5 6
  PixelImage stored;
  stored.Resize(3, 2);
  for (int i = 0; i < 6; ++i) {
    stored.Pixels[i * 4] = static_cast<unsigned char>(i + 1);
  }
  const struct {
    int Orientation;
    int Width;
    std::vector<int> Upright;  // in reading order
  } cases[] = {
      {1, 3, {1, 2, 3, 4, 5, 6}}, {2, 3, {3, 2, 1, 6, 5, 4}}, {3, 3, {6, 5, 4, 3, 2, 1}},
      {4, 3, {4, 5, 6, 1, 2, 3}}, {5, 2, {1, 4, 2, 5, 3, 6}}, {6, 2, {4, 1, 5, 2, 6, 3}},
      {7, 2, {6, 3, 5, 2, 4, 1}}, {8, 2, {3, 6, 2, 5, 1, 4}}, {0, 3, {1, 2, 3, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    PixelImage upright;
    TurnUpright(stored, c.Orientation, upright);
    std::vector<int> seen;
    for (std::size_t i = 0; i < upright.Pixels.size(); i += 4) {
      seen.push_back(upright.Pixels[i]);
    }
    EXPECT_EQ(upright.Width, c.Width) << c.Orientation;
    EXPECT_EQ(seen, c.Upright) << c.Orientation;
  }
}

}  // namespace
