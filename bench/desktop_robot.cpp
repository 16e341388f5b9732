// The desktop program's whole run, answered at once by a robot as a user
// would: the "bench" template, never record, no browser; the remembered
// folder in the picker; OK in the progress window when the album is done.
// album_bench times it next to korvalo-batch.
//
// usage: desktop_robot TEMPLATES_FOLDER ALBUM   (run with QT_QPA_PLATFORM=offscreen)
// Prints the seconds from the picker's OK to the progress window's OK enabled.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <cstdio>

#include "app/preferences.h"
#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"

namespace {

QAbstractButton* Button(QWidget* window, const char* name) {
  return window->findChild<QAbstractButton*>(QString::fromLatin1(name));
}

struct Robot {
  QPointer<QWidget> answered;
  QElapsedTimer sincePicked;
  bool finished = false;

  void Act() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      QAbstractButton* ok = Button(window, "okButton");
      if (window->objectName() == QLatin1String("ProgressForm") && ok != nullptr &&
          ok->isEnabled() && window->isVisible() && !finished) {
        finished = true;
        std::printf("%.3f\n", sincePicked.elapsed() / 1000.0);
        ok->click();
      }
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == answered) {
      return;
    }
    answered = modal;
    if (QAbstractButton* never = Button(modal, "recordNeverButton")) {
      never->click();
      Button(modal, "openBrowserBox")->setChecked(false);
    } else {
      sincePicked.start();  // the picker, at the remembered folder
    }
    Button(modal, "okButton")->click();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: desktop_robot TEMPLATES_FOLDER ALBUM\n");
    return 2;
  }
  WriteSetting("LastTemplate", "bench");
  WriteSetting("LastDir", argv[2]);
  const std::string templates = std::string(argv[1]) + "/";
  QApplication application(argc, argv);
  Robot robot;
  QTimer ticks;
  QObject::connect(&ticks, &QTimer::timeout, [&robot] { robot.Act(); });
  ticks.start(5);
  RunState run;
  InitRunState(run, ProgramFilePath());
  UseTemplatesFolder(run.Paths, templates);
  return RunDesktop(run);
}
