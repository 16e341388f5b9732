#pragma once

/// While an InterruptCatcher lives, Ctrl+C (SIGINT) and SIGTERM no longer end
/// the process but mark a cancel that Requested() reports; a second one of
/// either ends the process as usual. On Windows the same holds for Ctrl+C,
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
