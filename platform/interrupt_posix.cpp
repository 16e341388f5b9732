#include "platform/interrupt.h"

#include <signal.h>

#include <atomic>
#include <cstddef>
#include <iterator>

namespace {

// Ctrl+C from the terminal, SIGTERM from a script, a service manager or kill.
constexpr int kStopSignals[] = {SIGINT, SIGTERM};

// A signal handler can reach nothing but a static; a lock-free atomic is safe
// to set from it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction previousActions[std::size(kStopSignals)]{};

void OnStopSignal(int /*signal*/) {
  stopRequested.store(true);
  // One signal asks to stop; a second, of either kind, ends the process at
  // once. sigaction is safe to call here.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  for (const int stop : kStopSignals) {
    sigaction(stop, &fallback, nullptr);
  }
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
  stopRequested.store(false);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int stop : kStopSignals) {
    sigaddset(&action.sa_mask, stop);
  }
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    sigaction(kStopSignals[i], &action, &previousActions[i]);
  }
}

InterruptCatcher::~InterruptCatcher() {
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    sigaction(kStopSignals[i], &previousActions[i], nullptr);
  }
}

bool InterruptCatcher::Requested() const {
  return stopRequested.load();
}
