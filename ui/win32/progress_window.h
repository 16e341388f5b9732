#pragma once

#include <windows.h>

#include <atomic>

#include "app/window_services.h"
#include "platform/unique_handle.h"

/// The progress window (dialog 101): the run's log, OK once the album is done,
/// and "Avbryt". It runs on a thread of its own, so that it stays alive while
/// the calling thread runs the dialogs and the album. Its WindowServices are
/// called from that other thread: each log call is a synchronous window
/// message, carried out on the window's thread. Once the window has closed,
/// log calls do nothing. It fits the screen's work area and can be resized:
/// the log takes up the change, OK and "Avbryt" stay centred under it.
class ProgressWindow : public WindowServices {
 public:
  ProgressWindow() = default;
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;
  /// Closes the window if it is still open (not a cancel) and waits for its thread.
  ~ProgressWindow() override;

  /// Starts the window's thread and waits until its log exists, polling at
  /// most 100 times 50 ms. Without a thread, or when the wait runs out, the
  /// run goes on without a window: log calls do nothing.
  void Start();

  /// The window, for owning dialogs and messages; null when there is none.
  HWND Handle() const { return dialog_.load(); }

  /// A message box with the error icon and one OK button, owned by `owner`
  /// (an HWND, or none), also written to standard error.
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  /// Appends `line` (at most 1023 bytes of it) and a line break.
  void LogLine(std::string_view line) override;
  /// Removes the line the last LogLine appended, with any breaks of its own.
  void ClearLastLine() override;
  /// Enables OK and returns when the window has closed.
  void FinishProgress() override;
  bool PollCancel() override { return cancelRequested_.load() != 0; }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise(HWND dialog);
  void LetResize(HWND dialog);
  void Arrange(HWND dialog, int width, int height) const;
  void Close(HWND dialog, int result);
  // The log control while the window is open; null before and after.
  HWND OpenLog() const { return closed_.load() ? nullptr : log_.load(); }

  UniqueHandle thread_;
  HFONT font_ = nullptr;  ///< The log's font; made and freed on the window's thread.
  std::atomic<HWND> dialog_{nullptr};
  std::atomic<HWND> log_{nullptr};       ///< Set last: the sign that the window is up.
  std::atomic<int> cancelRequested_{0};  ///< 1 once cancelled; never reset.
  std::atomic<bool> closed_{false};
  LRESULT lastLineStart_ = 0;  ///< Where the last log line begins; the calling thread's.

  // The layout as the dialog opens, in client pixels; the window's thread's.
  SIZE client_{};    ///< The client area.
  RECT logPlace_{};  ///< The log.
  RECT okPlace_{};
  RECT cancelPlace_{};
  SIZE smallest_{};  ///< The smallest window: a few lines of log, the buttons' row.
};
