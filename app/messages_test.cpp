#include "app/messages.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "tests/test_support.h"

namespace {

TEST(StringTable, HoldsTheSwedishTexts) {
  EXPECT_EQ(LoadText(1), "Otillåtet värde för antal miniatyrer");
  EXPECT_EQ(LoadText(2), "Spelar in ljud för: \"%s\" ...");
  EXPECT_EQ(LoadText(3), "Windows inspelningsprogram kunde inte hittas");
  EXPECT_EQ(LoadText(4), "Misslyckades med att skapa innehållsfil: \"%s\"");
  EXPECT_EQ(LoadText(5), "Hittade inga bilder i: \"%s\"");
  EXPECT_EQ(LoadText(6), "Hittade inga mallar i: \"%s\"");
  EXPECT_EQ(LoadText(7), "Välj en mapp med bilder");
  EXPECT_EQ(LoadText(8), "mallar/");
  EXPECT_EQ(LoadText(9), "dok/korvalo.html");
  EXPECT_EQ(LoadText(10), "swe");
  EXPECT_EQ(LoadText(99), "");
}

TEST(FormatMessage, TheArgumentIsNeverAFormat) {
  EXPECT_EQ(FormatMessage("Hittade inga bilder i: \"%s\"", "/a/100%s%d"),
            "Hittade inga bilder i: \"/a/100%s%d\"");
  EXPECT_EQ(FormatMessage("%s", "50%"), "50%");
  EXPECT_EQ(FormatMessage("no placeholder", "x"), "no placeholder");
  EXPECT_EQ(FormatMessage("100%% %s", "x"), "100% x");
}

TEST(FormatMessage, CutsAt1023Bytes) {
  const std::string path(259, 'p');
  EXPECT_EQ(FormatMessage(LoadText(5), path).size(), LoadText(5).size() - 2 + path.size());
  EXPECT_EQ(FormatMessage("%s", std::string(5000, 'x')).size(), 1023u);
}

TEST(ShowError, APlainErrorReturnsToTheCaller) {
  RecordingWindows windows;
  RunState run;
  run.Windows = &windows;
  ShowError(run, LoadText(5), "/bilder", false);
  ASSERT_EQ(windows.messages_.size(), 1u);
  EXPECT_EQ(windows.messages_[0], "Error: Hittade inga bilder i: \"/bilder\"");
}

TEST(ShowErrorDeathTest, AFatalErrorEndsWithExitCode1) {
  EXPECT_EXIT(
      {
        RecordingWindows windows;
        RunState run;
        run.Windows = &windows;
        ShowError(run, LoadText(3), "", true);
        std::fprintf(stderr, "still running\n");
        std::_Exit(0);
      },
      testing::ExitedWithCode(1), "^Fatal Error: Windows inspelningsprogram kunde inte hittas\n$");
}

TEST(ShowErrorDeathTest, WithoutWindowsTheMessageGoesToStandardError) {
  EXPECT_EXIT(ShowError(RunState{}, "Failed to open file: %s", "/x y", true),
              testing::ExitedWithCode(1), "Fatal Error: Failed to open file: /x y");
}

}  // namespace
