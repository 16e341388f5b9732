#pragma once

/// While an InterruptCatcher lives, Ctrl+C (SIGINT) and SIGTERM no longer end
/// the process but mark a cancel that Requested() reports; a second one of
/// either ends the process as usual. The previous handling comes back when it
/// goes. Only one may live at a time.
class InterruptCatcher {
 public:
  InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
  ~InterruptCatcher();

  /// True once Ctrl+C or SIGTERM came while this catcher lived.
  bool Requested() const;
};
