#include "app/run_state.h"

#include <gtest/gtest.h>

#include <tuple>

// The files inside the templates folder are found in the end-to-end runs.
TEST(InitRunState, PathsBesideTheProgramAndDefaultSettings) {
  std::string folder = "/opt";
  for (int i = 0; i < 60; ++i) {
    folder += "/level." + std::to_string(i);
  }
  RunState state;
  state.Settings = {RecordNever, 5, false, false};  // Left from an earlier run.
  InitRunState(state, folder + "/korvalo");
  EXPECT_EQ(state.Paths.TemplatesFolder, folder + "/mallar/");
  EXPECT_EQ(state.Paths.HelpFile, folder + "/dok/korvalo.html");
  const auto fields = [](const RunSettings& s) {
    return std::tuple(s.Recording, s.ThumbnailsPerRow, s.OpenBrowserWhenDone, s.IncludeSubfolders);
  };
  EXPECT_EQ(fields(state.Settings), fields(RunSettings{}));
}
