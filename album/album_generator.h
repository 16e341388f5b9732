#pragma once

#include <string>

#include "app/run_state.h"

/// Turns `folder` into an album: index page, picture pages, voice comments and
/// sub-albums. `depth` 0 is the folder the user picked. Hidden entries are
/// left out, and so, with a log line, is a folder the walk is already inside
/// (a link to the folder itself or to one above it). Always returns 1.
int GenerateFolder(RunState& run, const std::string& folder, int depth);
