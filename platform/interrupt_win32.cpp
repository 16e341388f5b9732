#include <windows.h>

#include <atomic>

#include "platform/interrupt.h"

namespace {

std::atomic<bool> stopRequested{false};

// Set when the catcher goes: a closing console waits for it, since the system
// ends the process as soon as the handler returns.
HANDLE CatcherGone() {
  static const HANDLE gone = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return gone;
}

// How long a closing console waits for the run to stop; Windows itself ends
// the process after about five seconds.
constexpr DWORD kCloseWait = 4500;

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  // A second one of any kind goes on to the default handling, which ends the process.
  if (stopRequested.exchange(true)) {
    return FALSE;
  }
  if (event == CTRL_CLOSE_EVENT) {
    WaitForSingleObject(CatcherGone(), kCloseWait);
  }
  return TRUE;
}

}  // namespace

// Ctrl+C, Ctrl+Break and closing the console window are what SIGINT and
// SIGTERM are on Linux.
InterruptCatcher::InterruptCatcher() {
  stopRequested.store(false);
  ResetEvent(CatcherGone());
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

InterruptCatcher::~InterruptCatcher() {
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  SetEvent(CatcherGone());
}

bool InterruptCatcher::Requested() const {
  return stopRequested.load();
}
