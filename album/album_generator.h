#pragma once

#include <string>

#include "app/run_state.h"

/// Turns `folder` into an album: index page, picture pages, voice comments and
/// sub-albums. `depth` 0 is the folder the user picked. Always returns 1.
int GenerateFolder(RunState& run, const std::string& folder, int depth);
