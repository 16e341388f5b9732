#include "ui/settings_dialog.h"

// Placeholder until the dialog lands: behaves as a cancelled dialog.
int SettingsDialog(RunState& /*run*/, QWidget* /*owner*/) {
  return 0;
}
