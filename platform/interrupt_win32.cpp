#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/file_replacement.h"
#include "platform/interrupt.h"
#include "platform/second_stop.h"
#include "platform/utf16.h"

namespace {

std::atomic<bool> stopRequested{false};

// What a second stop undoes. The console handler runs on a thread of its own,
// so a lock keeps it and the run thread apart.
struct Undone {
  HANDLE Job = nullptr;
  HANDLE Process = nullptr;
  std::string Placeholder;
  std::string Source;
};
std::mutex undoneLock;
Undone undone;

// How long a killed program may take to go before its placeholder is looked at.
constexpr DWORD kProgramGoneWait = 3000;

// Set when the catcher goes: a closing console waits for it, since the system
// ends the process as soon as the handler returns.
HANDLE CatcherGone() {
  static const HANDLE gone = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return gone;
}

// How long a closing console waits for the run to stop; Windows itself ends
// the process after about five seconds.
constexpr DWORD kCloseWait = 4500;

// The tied program goes first, so that nothing writes the placeholder any
// more, then the placeholder; the lock stays held while the process ends.
void UndoBeforeTheEnd() {
  undoneLock.lock();
  if (undone.Job != nullptr) {
    TerminateJobObject(undone.Job, 0xC000013A);
  } else if (undone.Process != nullptr) {
    TerminateProcess(undone.Process, 0xC000013A);
  }
  if (undone.Process != nullptr) {
    WaitForSingleObject(undone.Process, kProgramGoneWait);
  }
  if (!undone.Placeholder.empty() && RegularFilesEqual(undone.Placeholder, undone.Source)) {
    DeleteFileW(WidePath(undone.Placeholder).c_str());
  }
}

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  // A second one of any kind goes on to the default handling, which ends the process.
  if (stopRequested.exchange(true)) {
    UndoBeforeTheEnd();
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

void TieToSecondStop(void* job, void* process) {
  const std::lock_guard<std::mutex> hold(undoneLock);
  undone.Job = job;
  undone.Process = process;
}

RemovedOnSecondStop::RemovedOnSecondStop(const std::string& path, const std::string& source) {
  const std::lock_guard<std::mutex> hold(undoneLock);
  undone.Placeholder = path;
  undone.Source = source;
}

RemovedOnSecondStop::~RemovedOnSecondStop() {
  const std::lock_guard<std::mutex> hold(undoneLock);
  undone.Placeholder.clear();
  undone.Source.clear();
}
