#include "app/run_state.h"

#include <gtest/gtest.h>

namespace {

TEST(InitRunState, PathsBesideTheProgramAndDefaultSettings) {
  std::string deep = "/opt";
  for (int i = 0; i < 60; ++i) {
    deep += "/level." + std::to_string(i);
  }
  for (const std::string& folder : {std::string(), deep}) {
    RunState state;
    state.Settings = {RecordNever, 5, false, false};  // Left from an earlier run.
    InitRunState(state, folder + "/korvalo");
    EXPECT_EQ(state.Paths.TemplatesFolder, folder + "/mallar/");
    EXPECT_EQ(state.Paths.HelpFile, folder + "/dok/korvalo.html");
    EXPECT_EQ(state.Paths.GoBackImage, folder + "/mallar/__goback.gif");
    EXPECT_EQ(state.Paths.FolderImage, folder + "/mallar/index.jpg");
    EXPECT_EQ(state.Paths.EmptySound, folder + "/mallar/emptysound.wav");
    const RunSettings defaults;
    EXPECT_EQ(state.Settings.Recording, defaults.Recording);
    EXPECT_EQ(state.Settings.ThumbnailsPerRow, defaults.ThumbnailsPerRow);
    EXPECT_EQ(state.Settings.OpenBrowserWhenDone, defaults.OpenBrowserWhenDone);
    EXPECT_EQ(state.Settings.IncludeSubfolders, defaults.IncludeSubfolders);
  }
}

}  // namespace
