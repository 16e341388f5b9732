#pragma once

/// While an InterruptCatcher lives, Ctrl+C (SIGINT) no longer ends the process
/// but marks a cancel that Requested() reports; a second Ctrl+C ends the
/// process as usual. The previous handling comes back when it goes. Only one
/// may live at a time.
class InterruptCatcher {
 public:
  InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
  ~InterruptCatcher();

  /// True once Ctrl+C was pressed while this catcher lived.
  bool Requested() const;
};
