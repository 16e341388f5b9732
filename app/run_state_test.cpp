#include "app/run_state.h"

#include <gtest/gtest.h>

namespace {

TEST(InitRunState, ProgramAtTheRoot) {
  RunState state;
  InitRunState(state, "/korvalo");
  EXPECT_EQ(state.Paths.TemplatesFolder, "/mallar/");
  EXPECT_EQ(state.Paths.HelpFile, "/dok/korvalo.html");
  EXPECT_EQ(state.Paths.GoBackImage, "/mallar/__goback.gif");
  EXPECT_EQ(state.Paths.FolderImage, "/mallar/index.jpg");
  EXPECT_EQ(state.Paths.EmptySound, "/mallar/emptysound.wav");
  EXPECT_EQ(state.Paths.IndexBaseName, "index");
  EXPECT_EQ(state.Paths.PageExtension, ".html");
}

TEST(InitRunState, ProgramInADeepFolderWithDots) {
  std::string folder = "/opt";
  for (int i = 0; i < 60; ++i) {
    folder += "/level." + std::to_string(i);
  }
  RunState state;
  InitRunState(state, folder + "/korvalo");
  EXPECT_EQ(state.Paths.TemplatesFolder, folder + "/mallar/");
  EXPECT_EQ(state.Paths.EmptySound, folder + "/mallar/emptysound.wav");
  EXPECT_EQ(state.Paths.HelpFile, folder + "/dok/korvalo.html");
}

TEST(InitRunState, EveryRunStartsFromTheDefaults) {
  RunState state;
  state.Settings = {RecordNever, 5, false, false};
  InitRunState(state, "/usr/lib/korvalo/korvalo");
  EXPECT_EQ(state.Settings.Recording, RecordWhenMissing);
  EXPECT_EQ(state.Settings.ThumbnailsPerRow, 0);
  EXPECT_TRUE(state.Settings.OpenBrowserWhenDone);
  EXPECT_TRUE(state.Settings.IncludeSubfolders);
}

}  // namespace
