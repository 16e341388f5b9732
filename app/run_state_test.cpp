#include "app/run_state.h"

#include <gtest/gtest.h>

#include <tuple>

// The files inside the templates folder are found in the end-to-end runs.
TEST(InitRunState, PathsBesideTheProgramAndDefaultSettings) {
  const std::string folder = "/opt/" + std::string(3000, 'd');
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
