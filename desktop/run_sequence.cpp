#include "desktop/run_sequence.h"

#include <QApplication>
#include <QEventLoop>
#include <thread>

#include "ui/qt/folder_picker.h"
#include "ui/qt/progress_window.h"
#include "ui/qt/settings_dialog.h"
#include "ui/run_phases.h"

namespace {

// A run's Qt windows: the progress window and the dialogs it owns. The run's
// window services point at the progress window while it exists.
class QtRunWindows : public RunWindows {
 public:
  QtRunWindows(RunState& run, ProgressWindow& progress) : run_(run), progress_(progress) {
    run_.Windows = &progress_;
  }
  QtRunWindows(const QtRunWindows&) = delete;
  QtRunWindows& operator=(const QtRunWindows&) = delete;
  ~QtRunWindows() override {
    run_.Windows = nullptr;
    run_.Owner = nullptr;
  }

  bool ChooseSettings(RunState& run) override { return SettingsDialog(run, &progress_) != 0; }

  std::string ChooseFolder(const std::string& startFolder, const std::string& title) override {
    return BrowseForFolder(&progress_, startFolder, title);
  }

  // The GUI thread keeps serving the progress window until the run thread is
  // done: the run thread's calls into the window wait for this thread, so
  // joining it any earlier could deadlock. That holds after "Avbryt" too: the
  // window has closed, but the run goes on to the next entry before it stops.
  int Generate(const std::function<int()>& generate) override {
    QEventLoop loop;
    int result = 0;
    std::thread worker([&generate, &loop, &result] {
      result = generate();
      QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return result;
  }

 private:
  RunState& run_;
  ProgressWindow& progress_;
};

}  // namespace

int RunDesktop(RunState& run) {
  // The progress window may close long before the run ends.
  QApplication::setQuitOnLastWindowClosed(false);
  ProgressWindow progress;
  QtRunWindows windows(run, progress);
  progress.show();
  return RunPhases(run, windows);
}
