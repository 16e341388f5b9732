#pragma once

// The phases of one run of the desktop program, whichever toolkit draws its
// windows: settings, folder, generation, end.

#include <functional>
#include <string>

#include "app/run_state.h"

/// The windows a run goes through, as one window set draws them. The progress
/// window stands for the whole run; the dialogs open over it.
struct RunWindows {
  virtual ~RunWindows() = default;
  /// Shows the settings dialog. True after OK, with the choices in `run`.
  virtual bool ChooseSettings(RunState& run) = 0;
  /// Asks for the album's folder under `title`, opening at `startFolder` (none:
  /// the user's pictures folder). The folder, or an empty text when cancelled.
  virtual std::string ChooseFolder(const std::string& startFolder, const std::string& title) = 0;
  /// Runs `generate`, which calls the progress window, and keeps that window
  /// alive until it has returned. Returns what `generate` returned.
  virtual int Generate(const std::function<int()>& generate) = 0;
};

/// Exit codes of the desktop program. A fatal error ends it with 1 at once.
constexpr int kExitDone = 0;  ///< An album made to its end, or a dialog cancelled.
constexpr int kExitStopped =
    1;  ///< The run stopped early: Avbryt, a failed or cancelled recording.

/// One run: the settings, then the folder (opening at the remembered LastDir),
/// then the album of that folder. LastDir remembers the folder once its album
/// has come to its end, and only then. Returns the exit code.
int RunPhases(RunState& run, RunWindows& windows);
