#include "app/preferences.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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

// QSettings would open a FIFO and wait for a writer before the first window.
TEST(Preferences, AStoreThatIsNoRegularFileIsLeftAloneWithOneWarning) {
  TempDir config;
  ScopedEnv home("XDG_CONFIG_HOME", config.path());
  const std::string store = config.MakeFolder("Tamsell") + "/Korvalo.conf";
  ASSERT_EQ(mkfifo(store.c_str(), 0600), 0);
  // The alarm ends a child that waits on the FIFO.
  EXPECT_EXIT(
      {
        alarm(10);
        std::_Exit(ReadSetting("LastDir").empty() && !WriteSetting("LastDir", "/a") ? 0 : 1);
      },
      testing::ExitedWithCode(0),
      "^korvalo: Inställningarna läses inte: " + store + " är ingen vanlig fil\n$");
  EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(store)));
  // A link counts as what it leads to.
  std::filesystem::remove(store);
  std::filesystem::create_symlink(config.Write("dotfiles/Korvalo.conf", "[General]\nLastDir=/b\n"),
                                  store);
  EXPECT_EQ(ReadSetting("LastDir"), "/b");
}

}  // namespace
