#pragma once

#include "app/run_state.h"

/// One run of the desktop program, on the GUI thread of a running
/// QApplication: the progress window, the settings dialog and the folder
/// picker owned by it, then the album, made on a run thread of its own while
/// this thread keeps the windows alive. The chosen folder is remembered once
/// the album has come to its end. Returns the exit code: 0 for a finished
/// album or a cancelled dialog, 1 when the run stopped early ("Avbryt" in the
/// progress window, a failed or cancelled recording). A fatal error ends the
/// process inside with 1.
int RunDesktop(RunState& run);
