#include "app/messages.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "tests/test_support.h"

namespace {

TEST(StringTable, HoldsTheSwedishTextsAndThePaths) {
  EXPECT_EQ(LoadText(1), "Otillåtet värde för antal miniatyrer");
  EXPECT_EQ(LoadText(4), "Misslyckades med att skapa innehållsfil: \"%s\"");
  EXPECT_EQ(LoadText(8), "mallar/");
  EXPECT_EQ(LoadText(9), "dok/korvalo.html");
  EXPECT_EQ(LoadText(99), "");
}

TEST(FormatMessage, TheArgumentIsNeverAFormatAndTheTextIsCutAt1023Bytes) {
  EXPECT_EQ(FormatMessage("Hittade inga bilder i: \"%s\"", "/a/100%s%d"),
            "Hittade inga bilder i: \"/a/100%s%d\"");
  EXPECT_EQ(FormatMessage("no placeholder", "x"), "no placeholder");
  EXPECT_EQ(FormatMessage("100%% %s", "x"), "100% x");
  EXPECT_EQ(FormatMessage("%s", std::string(5000, 'x')).size(), 1023u);
}

// A fatal error shown in a window is tested with the voice recording.
TEST(ShowErrorDeathTest, APlainErrorReturnsAndAFatalOneEndsWithExitCode1) {
  RecordingWindows windows;
  RunState run;
  run.Windows = &windows;
  ShowError(run, LoadText(5), "/bilder", false);
  EXPECT_EQ(windows.messages_,
            std::vector<std::string>{"Error: Hittade inga bilder i: \"/bilder\""});
  // Without windows the message goes to standard error.
  EXPECT_EXIT(ShowError(RunState{}, "Failed to open file: %s", "/x y", true),
              testing::ExitedWithCode(1), "Fatal Error: Failed to open file: /x y");
}

}  // namespace
