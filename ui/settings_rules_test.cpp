#include "ui/settings_rules.h"

#include <gtest/gtest.h>

#include "app/preferences.h"
#include "tests/test_support.h"

namespace {

class SettingsRulesTest : public ::testing::Test {
 protected:
  // The configuration folder keeps Linux runs apart; the registry under Wine
  // is one for all, so each case starts from nothing remembered.
  SettingsRulesTest() {
    InitRunState(run_, dir_ / "korvalo");
    run_.Windows = &windows_;
    WriteSetting("LastTemplate", "");
  }

  void AddTemplate(const std::string& name, const std::string& indexText) {
    dir_.Write("mallar/" + name + "_index.html", indexText);
    dir_.Write("mallar/" + name + "_picture.html", "<p>" + name);
  }

  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
  RecordingWindows windows_;
  RunState run_;
};

TEST(PreselectedTemplate, TheRememberedNameItsLettersOrTheFirstItBeginsElseTheSecond) {
  const std::vector<std::string> three{"Blå", "enkel", "Röd"};
  const std::vector<std::string> cases{"ENKEL", "Enkel", "enkel", "Enkel2"};
  EXPECT_EQ(PreselectedTemplate(three, ""), 1);
  EXPECT_EQ(PreselectedTemplate({"Enkel"}, ""), -1);
  EXPECT_EQ(PreselectedTemplate(cases, "enkel"), 2);  // the name itself before its letters
  EXPECT_EQ(PreselectedTemplate(cases, "eNKEL"), 0);
  EXPECT_EQ(PreselectedTemplate({"Enkel1", "Enkel2"}, "Enkel"), 1);  // from the second
  EXPECT_EQ(PreselectedTemplate(three, "bl"), 0);                    // wrapping to the first
  EXPECT_EQ(PreselectedTemplate(three, "Grå"), -1);
}

TEST(ReadThumbnailsField, ReadsAsPercentDReadsTheFirstNineCharacters) {
  EXPECT_EQ(ReadThumbnailsField("3x"), 3);
  EXPECT_EQ(ReadThumbnailsField(" 0"), 0);
  EXPECT_EQ(ReadThumbnailsField("1234567890"), 123456789);
  EXPECT_EQ(ReadThumbnailsField("-1"), std::nullopt);
  EXPECT_EQ(ReadThumbnailsField(""), std::nullopt);
  EXPECT_EQ(ReadThumbnailsField("x3"), std::nullopt);
}

TEST_F(SettingsRulesTest, TheListOpensSortedAtTheRememberedTemplateAndProposesItsCells) {
  AddTemplate("Röd", IndexWithCells(1));
  AddTemplate("enkel", IndexWithCells(5));
  AddTemplate("Blå", IndexWithCells(3));
  WriteSetting("LastTemplate", "röd");
  const TemplateList list = OpenTemplateList(run_);
  EXPECT_EQ(list.Names, std::vector<std::string>({"Blå", "enkel", "Röd"}));
  EXPECT_EQ(list.Selected, 2);
  EXPECT_EQ(ProposedThumbnailsText(run_, list.Names, 1), "5");
  EXPECT_EQ(ProposedThumbnailsText(run_, list.Names, 2), "2");   // one cell proposes 2
  EXPECT_EQ(ProposedThumbnailsText(run_, list.Names, -1), "2");  // so does none
}

// Each press stores the choice and loads the pair anew; only an accepted press
// sets the run's settings.
TEST_F(SettingsRulesTest, OkStepsInOrder) {
  AddTemplate("Blå", IndexWithCells(3));
  AddTemplate("Trasig", "<p>");
  const std::vector<std::string> names{"Blå", "Trasig"};
  SettingsControls controls{-1, "4", RecordNever, false, false};
  EXPECT_EQ(PressOk(run_, names, controls), OkAnswer::ChooseTemplate);
  EXPECT_EQ(ReadSetting("LastTemplate"), "");

  controls.TemplateRow = 1;
  EXPECT_EQ(PressOk(run_, names, controls), OkAnswer::Stay);
  EXPECT_EQ(ReadSetting("LastTemplate"), "Trasig");
  EXPECT_EQ(run_.Templates.IndexTemplate, "<p>");

  controls.TemplateRow = 0;
  controls.ThumbnailsText = "x";
  EXPECT_EQ(PressOk(run_, names, controls), OkAnswer::Stay);
  EXPECT_EQ(ReadSetting("LastTemplate"), "Blå");
  EXPECT_EQ(run_.Templates.IndexTemplate, IndexWithCells(3));
  EXPECT_EQ(run_.Settings.Recording, RecordWhenMissing);

  AddTemplate("Blå", IndexWithCells(4));
  controls.ThumbnailsText = "4";
  EXPECT_EQ(PressOk(run_, names, controls), OkAnswer::Close);
  EXPECT_EQ(run_.Templates.IndexTemplate, IndexWithCells(4));
  EXPECT_EQ(run_.Templates.PictureTemplate, "<p>Blå");
  const RunSettings& s = run_.Settings;
  EXPECT_EQ(std::tuple(s.ThumbnailsPerRow, s.Recording, s.OpenBrowserWhenDone, s.IncludeSubfolders),
            std::tuple(4, RecordNever, false, false));
  EXPECT_EQ(windows_.messages_,
            std::vector<std::string>(
                {"Error: Välj en mall i listan",
                 "Error: Indexmallen saknar en tabellrad \"<tr>\" med en cell \"</td>\": \"" +
                     run_.Paths.TemplatesFolder + "Trasig_index.html\"",
                 "Error: Otillåtet värde för antal miniatyrer"}));
}

}  // namespace
