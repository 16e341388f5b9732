#pragma once

#include "app/run_state.h"

/// One run of the desktop program (see RunPhases) in its Qt windows, on the
/// GUI thread of a running QApplication: the progress window, the settings
/// dialog and the folder picker owned by it, then the album, made on a run
/// thread of its own while this thread keeps the windows alive. Returns the
/// exit code; a fatal error ends the process inside with 1.
int RunDesktop(RunState& run);
