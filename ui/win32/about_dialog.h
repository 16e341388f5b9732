#pragma once

#include <windows.h>

#include "app/run_state.h"

/// Shows the About dialog (110) modally, owned by `owner`: the program's name,
/// version and build date; "Hjälp" opens the help page at "#legal".
void AboutDialog(const RunState& run, HWND owner);
