#pragma once

#include "app/run_state.h"

class QWidget;

/// Shows the About dialog modally, owned by `owner`; returns when it is closed.
void AboutDialog(const RunState& run, QWidget* owner);
