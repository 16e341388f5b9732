#pragma once

#include <string>

#include "app/run_state.h"

/// Makes or keeps the voice comment beside `pagePath` (its name with ".wav")
/// according to the run's record mode. Returns when no recording was needed or
/// it succeeded; a missing recorder, a failed or a cancelled recording end the
/// process with exit code 1.
void RecordSound(const RunState& run, const std::string& pagePath, const std::string& pictureName);
