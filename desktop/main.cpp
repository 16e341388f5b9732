// korvalo: the desktop program. It takes no arguments; one run makes one album.

#include <QApplication>
#include <cstdio>
#include <string>

#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/display.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "ui/qt/program_icon.h"

namespace {

// Qt aborts without a display, with a message about reinstalling; this says
// what is wrong and what works without one.
bool DisplayFound() {
  const std::string missing(MissingDisplayVariable());
  if (missing.empty()) {
    return true;
  }
  std::fprintf(
      stderr,
      "korvalo: Korvalo behöver en grafisk skärm men hittar ingen (%s är inte satt).\n"
      "Utan skärm görs album med korvalo-batch, till exempel: korvalo-batch ~/Bilder/Resa\n",
      missing.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayFound()) {
    return 1;
  }
  // Before any thread starts: the recorder installed beside the program is found.
  AddProgramFolderToSearchPath();
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());
  RunState run;
  InitRunState(run, ProgramFilePath());
  return RunDesktop(run);
}
