#include <QApplication>

#include "app/run_state.h"
#include "platform/program_path.h"
#include "ui/settings_dialog.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  RunState run;
  InitRunState(run, ProgramFilePath());
  return SettingsDialog(run, nullptr) != 0 ? 0 : 0;
}
