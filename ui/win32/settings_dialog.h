#pragma once

#include <windows.h>

#include "app/run_state.h"

/// Shows the settings dialog (106) modally, owned by `owner` (none: no owner),
/// and returns 1 after OK, with the choices, the template pair and
/// LastTemplate in `run`, or 0 after Cancel. While it is open its messages are
/// owned by it; afterwards by `owner` again.
int SettingsDialog(RunState& run, HWND owner);
