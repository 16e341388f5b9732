#include "app/preferences.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "app/files.h"
#include "tests/test_support.h"

namespace {

// Each test points the store at a folder of its own.
class PreferencesTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved_ = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", (config_ / "config").c_str(), 1);
  }
  void TearDown() override { setenv("XDG_CONFIG_HOME", saved_.c_str(), 1); }
  TempDir config_;
  std::string saved_;
};

TEST_F(PreferencesTest, MissingStoreAndValuesReadEmpty) {
  EXPECT_EQ(ReadSetting("LastDir"), "");
  EXPECT_TRUE(WriteSetting("LastTemplate", "Enkel"));
  EXPECT_EQ(ReadSetting("LastDir"), "");
}

TEST_F(PreferencesTest, ValuesRoundTripWhole) {
  const std::string deep = "/home/åsa/" + std::string(600, 'b') + "/Bilder & \"citat\" #1";
  EXPECT_TRUE(WriteSetting("LastDir", deep));
  EXPECT_TRUE(WriteSetting("LastTemplate", "Röd"));
  EXPECT_EQ(ReadSetting("LastDir"), deep);
  EXPECT_EQ(ReadSetting("LastTemplate"), "Röd");
  EXPECT_TRUE(FileExists(config_ / "config/Tamsell/Korvalo.conf"));
  EXPECT_TRUE(WriteSetting("LastDir", ""));
  EXPECT_EQ(ReadSetting("LastDir"), "");
}

}  // namespace
