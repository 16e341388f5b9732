#pragma once

#include <string_view>

#include "app/run_state.h"

/// The window services the core calls. The desktop program implements them with
/// its progress window, korvalo-batch with the terminal, tests with a recorder.
/// Every call is synchronous: it returns when the window has done it.
struct WindowServices {
  virtual ~WindowServices() = default;
  /// Shows `text` under `caption` with one OK button, owned by `owner`; returns when dismissed.
  virtual void ShowMessageBox(MessageOwner owner, std::string_view caption,
                              std::string_view text) = 0;
  /// Appends one line to the progress log, verbatim.
  virtual void LogLine(std::string_view line) = 0;
  /// Removes the most recently appended log line.
  virtual void ClearLastLine() = 0;
  /// Lets the user close the progress window and returns when it is closed.
  virtual void FinishProgress() = 0;
  /// True once the user has cancelled; never goes back to false.
  virtual bool PollCancel() = 0;
};

/// Writes "Caption: message" to standard error, logs to standard output unless
/// quiet, and never cancels. Used where there is no window.
class ConsoleWindowServices : public WindowServices {
 public:
  explicit ConsoleWindowServices(bool quiet = false) : quiet_(quiet) {}
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  void LogLine(std::string_view line) override;
  void ClearLastLine() override {}
  void FinishProgress() override {}
  bool PollCancel() override { return false; }

 private:
  bool quiet_;
};
