#include "ui/about_dialog.h"

// Placeholder until the dialog lands.
void AboutDialog(const RunState& /*run*/, QWidget* /*owner*/) {}
