#pragma once

#include <string>
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
/// quiet, and never cancels. Used where there is no window. On a terminal the
/// control characters of a text (a file name's) are shown as "\x1b" and the
/// like, so no name can move the cursor, erase a line or set the title; a
/// pipe or file gets the bytes as they are.
class ConsoleWindowServices : public WindowServices {
 public:
  explicit ConsoleWindowServices(bool quiet = false);
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  void LogLine(std::string_view line) override;
  void ClearLastLine() override {}
  void FinishProgress() override {}
  bool PollCancel() override { return false; }

 private:
  bool quiet_;
  bool outputIsTerminal_;
  bool errorIsTerminal_;
};

/// `text` with its control characters (C0 but tab, DEL, and C1 as UTF-8)
/// written as "\xHH", for a terminal.
std::string ShownOnTerminal(std::string_view text);
