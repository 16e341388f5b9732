#pragma once

#include <string>

#include "app/run_state.h"

/// Turns `folder` into an album: index page, picture pages, voice comments and
/// sub-albums. `depth` 0 is the folder the user picked. Names that begin
/// with '.' and entries Windows marks hidden or system are left out silently;
/// with a log line, a folder the walk is already inside (a link to the folder
/// itself or to one above it) or has already made into a sub-album in this
/// run, a subfolder that cannot be read or written, and on Windows a picture
/// or folder whose name Windows cannot use. Each folder is locked while it is
/// written: a folder another run holds is a fatal error. Returns 1 when the album was
/// made to its end; 0 when the run stopped early, cancelled (PollCancel) or
/// a recording failed or was cancelled: nothing more was written and no
/// browser opened, and the caller ends the run with exit code 1.
int GenerateFolder(RunState& run, const std::string& folder, int depth);
