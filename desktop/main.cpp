// korvalo: the desktop program. It takes no arguments; one run makes one album.

#include <QApplication>
#include <cstdio>
#include <string>

#include "app/language.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/display.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "resources/string_table.h"
#include "ui/qt/program_icon.h"

namespace {

// Qt aborts without a display, with a message about reinstalling; this says
// what is wrong and what works without one.
bool DisplayFound() {
  const std::string missing(MissingDisplayVariable());
  if (missing.empty()) {
    return true;
  }
  std::fputs(FormatMessage(LoadText(kTextNoDisplay), missing).c_str(), stderr);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  UseUsersLanguage();
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
