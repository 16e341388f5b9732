#pragma once

#include "app/run_state.h"

/// One run of the desktop program (see RunPhases) in its windows: the progress
/// window, the settings dialog and the folder picker owned by it, then the
/// album, while the progress window stays alive on its own thread. On Linux it
/// runs on the GUI thread of a running QApplication, and the album is made on
/// a run thread; on Windows the progress window has a thread of its own and
/// the album is made on this one. Returns the exit code; a fatal error ends the
/// process inside with 1.
int RunDesktop(RunState& run);
