// korvalo: the desktop program. It takes no arguments.

#include <QApplication>

#include "app/run_state.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "ui/message_box_services.h"
#include "ui/program_icon.h"
#include "ui/settings_dialog.h"

int main(int argc, char** argv) {
  // Before any thread starts: the recorder installed beside the program is found.
  AppendProgramFolderToSearchPath();
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());
  MessageBoxServices windows;
  RunState run;
  InitRunState(run, ProgramFilePath());
  run.Windows = &windows;
  if (SettingsDialog(run, nullptr) == 0) {
    return 0;  // "Avbryt": the run ends without an album.
  }
  // The settings and the template pair are set and LastTemplate is stored;
  // the folder picker and the album follow here.
  return 0;
}
