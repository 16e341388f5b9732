#pragma once

#include "app/run_state.h"

class QWidget;

/// Shows the settings dialog modally, owned by `owner` (may be null). Returns 1
/// after OK with an accepted value (`run.Settings`, `run.Templates` and the
/// preference LastTemplate are then set), 0 after "Avbryt", Escape or the close box.
/// No template in the templates folder is fatal.
int SettingsDialog(RunState& run, QWidget* owner);
