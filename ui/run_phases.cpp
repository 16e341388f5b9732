#include "ui/run_phases.h"

#include "album/album_generator.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "resources/string_table.h"

int RunPhases(RunState& run, RunWindows& windows) {
  if (!windows.ChooseSettings(run)) {
    return kExitDone;
  }
  const std::string folder =
      windows.ChooseFolder(ReadSetting("LastDir"), LoadText(kTextChooseFolder));
  if (folder.empty()) {
    return kExitDone;
  }
  // A run stopped early is not remembered: the next run starts where the user
  // chose to go before, not in a folder whose album is cut short.
  if (windows.Generate([&run, &folder] { return GenerateFolder(run, folder, 0); }) == 0) {
    return kExitStopped;
  }
  WriteSetting("LastDir", folder);
  return kExitDone;
}
