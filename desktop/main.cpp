// korvalo: the desktop program. It takes no arguments; one run makes one album.

#include <QApplication>

#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  RunState run;
  InitRunState(run, ProgramFilePath());
  return RunDesktop(run);
}
