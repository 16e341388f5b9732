#pragma once

#include <string>

#include "app/run_state.h"

/// Makes or keeps the voice comment beside `pagePath` (its name with ".wav")
/// according to the run's record mode. Only a picture without a sound file
/// gets the empty sound before the recorder starts; an existing comment is
/// changed by nothing but a take the user saves. True when no recording was
/// needed or it succeeded (a skip included); false when it failed or was
/// cancelled, the empty sound this call put there removed again. A missing
/// recorder is a fatal error.
bool RecordSound(const RunState& run, const std::string& pagePath, const std::string& pictureName);
