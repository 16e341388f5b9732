#include "ui/window_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WindowRules, CentredWithAThirdOfTheRoomAboveTruncatedTowardZero) {
  const WindowPosition inside = CenteredPosition(1024, 768, 401, 300);
  EXPECT_EQ(std::pair(inside.x, inside.y), std::pair(311, 156));
  const WindowPosition wider = CenteredPosition(1024, 768, 1029, 770);
  EXPECT_EQ(std::pair(wider.x, wider.y), std::pair(-2, 0));
}

TEST(WindowRules, ALogLineIsCutAt1023BytesNeverInsideACharacter) {
  const std::string full(1023, 'a');
  EXPECT_EQ(CutLogLine(full + "b"), full);
  EXPECT_EQ(CutLogLine(std::string(1022, 'a') + "\xc3\xb6"), std::string(1022, 'a'));
}

TEST(WindowRules, TheAboutTextTakesTheValuesInOrderAndNeverScansThem) {
  EXPECT_EQ(FillAboutText("Version: %s\nDatum: %s", {"1.1", "Dec 11 2007"}),
            "Version: 1.1\nDatum: Dec 11 2007");
  EXPECT_EQ(FillAboutText("%s och %s", {"%s", "b"}), "%s och b");
  EXPECT_EQ(FillAboutText("bara %s", {"a", "b"}), "bara a");
}

}  // namespace
