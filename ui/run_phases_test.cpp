#include "ui/run_phases.h"

#include <gtest/gtest.h>

#include "app/files.h"
#include "app/preferences.h"
#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

// Answers each window as told and notes what it was asked.
struct ScriptedWindows : RunWindows {
  bool ChooseSettings(RunState& /*run*/) override {
    asked_.push_back("settings");
    return settingsAccepted_;
  }
  std::string ChooseFolder(const std::string& startFolder, const std::string& title) override {
    asked_.push_back("folder at " + startFolder + ": " + title);
    return folder_;
  }
  int Generate(const std::function<int()>& generate) override {
    asked_.push_back("generate");
    return generate();
  }

  bool settingsAccepted_ = true;
  std::string folder_;
  std::vector<std::string> asked_;
};

class RunPhasesTest : public ::testing::Test {
 protected:
  RunPhasesTest() {
    InitRunState(run_, dir_ / "korvalo");
    run_.Templates = {"<table>\n<tr>\n<td>__picture.jpg</td>\n</tr>\n</table>\n", "<p>"};
    run_.Settings.Recording = RecordNever;
    run_.Settings.OpenBrowserWhenDone = false;
    run_.Windows = &progress_;
    dir_.Write("Album/a.gif", GifBytes(10, 10));
    WriteSetting("LastDir", "/remembered");
  }

  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
  RecordingWindows progress_;
  ScriptedWindows windows_;
  RunState run_;
  const std::string chooseFolder_ = "folder at /remembered: Välj en mapp med bilder";
};

TEST_F(RunPhasesTest, ACancelledDialogEndsTheRunWithZeroAndNothingRemembered) {
  windows_.settingsAccepted_ = false;
  EXPECT_EQ(RunPhases(run_, windows_), 0);
  windows_.settingsAccepted_ = true;
  EXPECT_EQ(RunPhases(run_, windows_), 0);
  EXPECT_EQ(windows_.asked_, std::vector<std::string>({"settings", "settings", chooseFolder_}));
  EXPECT_EQ(ReadSetting("LastDir"), "/remembered");
}

TEST_F(RunPhasesTest, OnlyAnAlbumMadeToItsEndIsRememberedAndEndsWithZero) {
  windows_.folder_ = dir_ / "Album";
  progress_.cancel_ = true;
  EXPECT_EQ(RunPhases(run_, windows_), 1);
  EXPECT_EQ(ReadSetting("LastDir"), "/remembered");
  progress_.cancel_ = false;
  EXPECT_EQ(RunPhases(run_, windows_), 0);
  EXPECT_EQ(ReadSetting("LastDir"), dir_ / "Album");
  EXPECT_TRUE(FileExists(dir_ / "Album/index.html"));
  EXPECT_EQ(windows_.asked_, std::vector<std::string>({"settings", chooseFolder_, "generate",
                                                       "settings", chooseFolder_, "generate"}));
}

}  // namespace
