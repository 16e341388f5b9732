#pragma once

#include <QDialog>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/window_services.h"

namespace Ui {
class ProgressForm;
}
class LogEdit;

/// The progress window (dialog 101): the run's log, OK once the album is done,
/// and "Avbryt". It belongs to the GUI thread. Its WindowServices may be
/// called from any thread: a call from another thread waits until the GUI
/// thread has carried it out, so that thread's event loop must keep running
/// until no other thread can call any more. Once the window has closed, log
/// calls do nothing and return at once.
class ProgressWindow : public QDialog, public WindowServices {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);
  ~ProgressWindow() override;

  /// A box with the error icon and one OK button, owned by `owner` (a
  /// QWidget*, or none), also written to standard error.
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  /// Appends `line` (at most 1023 bytes of it) and a line break.
  void LogLine(std::string_view line) override;
  /// Removes the line the last LogLine appended, with any breaks of its own.
  void ClearLastLine() override;
  /// Enables OK, tells screen readers that the album is done, and returns
  /// when the window has closed.
  void FinishProgress() override;
  bool PollCancel() override { return cancelRequested_.load() != 0; }

  /// True once the window has closed by OK, "Avbryt", Escape or the close box.
  bool IsClosed() const { return closed_.load(); }

 public slots:
  void done(int result) override;
  void reject() override;

 private:
  Q_INVOKABLE void ServeRequests();
  // Runs `work` on the GUI thread and returns when it is done.
  void OnGuiThread(std::function<void()> work);

  std::unique_ptr<Ui::ProgressForm> ui_;
  LogEdit* log_ = nullptr;

  std::atomic<int> cancelRequested_{0};  ///< 1 once cancelled; never reset.
  std::atomic<bool> closed_{false};

  // One call from another thread at a time, handed over under the mutex.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> request_;  ///< The call waiting for the GUI thread.
  bool pending_ = false;           ///< A call is waiting or being carried out.
};
