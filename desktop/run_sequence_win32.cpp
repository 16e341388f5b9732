#include <windows.h>

#include "desktop/run_sequence.h"
#include "ui/run_phases.h"
#include "ui/win32/folder_picker.h"
#include "ui/win32/progress_window.h"
#include "ui/win32/settings_dialog.h"

namespace {

// A run's Win32 windows: the progress window on its own thread, and the
// dialogs it owns on this one. The run's window services point at the
// progress window while it exists.
class Win32RunWindows : public RunWindows {
 public:
  Win32RunWindows(RunState& run, ProgressWindow& progress) : run_(run), progress_(progress) {
    run_.Windows = &progress_;
    run_.Owner = progress_.Handle();
  }
  Win32RunWindows(const Win32RunWindows&) = delete;
  Win32RunWindows& operator=(const Win32RunWindows&) = delete;
  ~Win32RunWindows() override {
    run_.Windows = nullptr;
    run_.Owner = nullptr;
  }

  bool ChooseSettings(RunState& run) override {
    return SettingsDialog(run, progress_.Handle()) != 0;
  }

  std::string ChooseFolder(const std::string& startFolder, const std::string& title) override {
    return BrowseForFolder(progress_.Handle(), startFolder, title);
  }

  // The window has its own thread: the album is made on this one.
  int Generate(const std::function<int()>& generate) override { return generate(); }

 private:
  RunState& run_;
  ProgressWindow& progress_;
};

}  // namespace

int RunDesktop(RunState& run) {
  ProgressWindow progress;
  progress.Start();
  Win32RunWindows windows(run, progress);
  return RunPhases(run, windows);
}
