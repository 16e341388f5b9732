#pragma once

#include <string>

/// While an InterruptCatcher lives, Ctrl+C (SIGINT) and SIGTERM no longer end
/// the process but mark a cancel that Requested() reports; a second one of
/// either ends the process at once, as the signal does, after it has ended the
/// program tied to it (ChildProcess::EndWithUs) and removed the file a
/// RemovedOnSecondStop names. On Windows the same holds for Ctrl+C,
/// Ctrl+Break and closing the console, which then waits a few seconds for the
/// catcher to go. The previous handling comes back when it goes. Only one may
/// live at a time.
class InterruptCatcher {
 public:
  InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
  ~InterruptCatcher();

  /// True once one of them came while this catcher lived.
  bool Requested() const;
};

/// While it lives, a second stop removes the file `path` before the process
/// ends, if it then holds exactly what the file `source` holds: the empty
/// sound a recording starts from, put where there was no comment. A take the
/// recorder saved there differs, and stays. One at a time.
class RemovedOnSecondStop {
 public:
  RemovedOnSecondStop(const std::string& path, const std::string& source);
  RemovedOnSecondStop(const RemovedOnSecondStop&) = delete;
  RemovedOnSecondStop& operator=(const RemovedOnSecondStop&) = delete;
  ~RemovedOnSecondStop();
};
