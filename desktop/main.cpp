// korvalo: the desktop program. It takes no arguments; one run makes one album.

#include <QApplication>

#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "ui/program_icon.h"

int main(int argc, char** argv) {
  // Before any thread starts: the recorder installed beside the program is found.
  AppendProgramFolderToSearchPath();
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());
  RunState run;
  InitRunState(run, ProgramFilePath());
  return RunDesktop(run);
}
