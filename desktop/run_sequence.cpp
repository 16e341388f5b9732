#include "desktop/run_sequence.h"

#include <QApplication>
#include <QEventLoop>
#include <string>
#include <thread>

#include "album/album_generator.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "resources/string_table.h"
#include "ui/qt/folder_picker.h"
#include "ui/qt/progress_window.h"
#include "ui/qt/settings_dialog.h"

namespace {

// The GUI thread keeps serving the progress window until the run thread is
// done: the run thread's calls into the window wait for this thread, so
// joining it any earlier could deadlock. That holds after "Avbryt" too: the
// window has closed, but the run goes on to the next entry before it stops.
// Returns what GenerateFolder returned.
int GenerateOnRunThread(RunState& run, const std::string& folder) {
  QEventLoop loop;
  int finished = 0;
  std::thread worker([&run, &folder, &loop, &finished] {
    finished = GenerateFolder(run, folder, 0);
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  return finished;
}

// Points the run's window services at the progress window while it exists.
class UseWindow {
 public:
  UseWindow(RunState& run, ProgressWindow& window) : run_(run) { run_.Windows = &window; }
  UseWindow(const UseWindow&) = delete;
  UseWindow& operator=(const UseWindow&) = delete;
  ~UseWindow() {
    run_.Windows = nullptr;
    run_.Owner = nullptr;
  }

 private:
  RunState& run_;
};

}  // namespace

int RunDesktop(RunState& run) {
  // The progress window may close long before the run ends.
  QApplication::setQuitOnLastWindowClosed(false);
  ProgressWindow progress;
  const UseWindow use(run, progress);
  progress.show();
  if (SettingsDialog(run, &progress) == 0) {
    return 0;
  }
  run.Owner = static_cast<const QWidget*>(&progress);
  const std::string title = LoadText(kTextChooseFolder);
  const std::string folder = BrowseForFolder(&progress, ReadSetting("LastDir"), title);
  if (folder.empty()) {
    return 0;
  }
  // A run stopped early is not remembered: the next run starts where the user
  // chose to go before, not in a folder whose album is cut short.
  if (GenerateOnRunThread(run, folder) == 0) {
    return 1;
  }
  WriteSetting("LastDir", folder);
  return 0;
}
