#pragma once

#include "app/run_state.h"

/// One run of the desktop program, on the GUI thread of a running
/// QApplication: the progress window, the settings dialog and the folder
/// picker owned by it, then the album, made on a run thread of its own while
/// this thread keeps the windows alive. The chosen folder is remembered once
/// the album has come to its end. Returns the exit code, 0; a fatal error and
/// a failed or cancelled recording end the process inside with 1.
int RunDesktop(RunState& run);
