#include "app/preferences.h"

#include <gtest/gtest.h>

#include "app/files.h"
#include "tests/test_support.h"

namespace {

TEST(Preferences, MissingValuesReadEmptyAndValuesRoundTripWhole) {
  TempDir config;
  ScopedEnv home("XDG_CONFIG_HOME", config / "config");
  EXPECT_EQ(ReadSetting("LastDir"), "");  // No store yet.
  EXPECT_TRUE(WriteSetting("LastTemplate", "Röd"));
  EXPECT_EQ(ReadSetting("LastDir"), "");
  const std::string deep = "/home/åsa/" + std::string(600, 'b') + "/Bilder & \"citat\" #1";
  EXPECT_TRUE(WriteSetting("LastDir", deep));
  EXPECT_EQ(ReadSetting("LastDir"), deep);
  EXPECT_EQ(ReadSetting("LastTemplate"), "Röd");
  // A folder name that is no UTF-8 comes back byte for byte; UTF-8 stays plain text.
  const std::string latin1 = "/home/\xe5sa/Bilder\xff\xc3";
  EXPECT_TRUE(WriteSetting("LastDir", latin1));
  EXPECT_EQ(ReadSetting("LastDir"), latin1);
  EXPECT_NE(ReadFileBytes(config / "config/Tamsell/Korvalo.conf").find("LastTemplate=Röd\n"),
            std::string::npos);
  EXPECT_TRUE(WriteSetting("LastDir", ""));
  EXPECT_EQ(ReadSetting("LastDir"), "");
}

}  // namespace
