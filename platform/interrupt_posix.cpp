#include "platform/interrupt.h"

#include <signal.h>

#include <atomic>

namespace {

// A signal handler can reach nothing but a static; a lock-free atomic is safe
// to set from it.
std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction previousAction {};

void OnInterrupt(int /*signal*/) {
  interruptRequested.store(true);
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
  interruptRequested.store(false);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // One press asks to stop; the handler then falls back to the default, so
  // that a second press ends the process at once.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &previousAction);
}

InterruptCatcher::~InterruptCatcher() {
  sigaction(SIGINT, &previousAction, nullptr);
}

bool InterruptCatcher::Requested() const {
  return interruptRequested.load();
}
