#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "platform/interrupt.h"
#include "platform/second_stop.h"
#include "platform/unique_fd.h"

namespace {

// Ctrl+C from the terminal, SIGTERM from a script, a service manager or kill.
constexpr int kStopSignals[] = {SIGINT, SIGTERM};

// A signal handler can reach nothing but statics; lock-free atomics are safe
// to use from it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction previousActions[std::size(kStopSignals)]{};

// What a second stop undoes. The paths live in fixed buffers: the handler may
// run while the run thread lets go of them, and must never meet freed memory.
std::atomic<int> tiedGroup{0};
constexpr std::size_t kPathRoom = 4096;
char placeholderPath[kPathRoom];
char placeholderSource[kPathRoom];
std::atomic<bool> placeholderArmed{false};

// Reads up to `size` bytes; only async-signal-safe calls.
ssize_t ReadFully(int fd, char* buffer, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    const ssize_t got = read(fd, buffer + total, size - total);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return got < 0 ? got : static_cast<ssize_t>(total);
    }
    total += static_cast<std::size_t>(got);
  }
  return static_cast<ssize_t>(total);
}

// Compares the regular file `path` itself (never through a link) with `source`.
bool SameBytes(const char* path, const char* source) {
  const UniqueFd a(open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  const UniqueFd b(open(source, O_RDONLY | O_CLOEXEC));
  bool same = a.valid() && b.valid();
  char bufferA[4096];
  char bufferB[sizeof bufferA];
  while (same) {
    const ssize_t gotA = ReadFully(a.get(), bufferA, sizeof bufferA);
    const ssize_t gotB = ReadFully(b.get(), bufferB, sizeof bufferB);
    same = gotA >= 0 && gotA == gotB &&
           std::memcmp(bufferA, bufferB, static_cast<std::size_t>(gotA)) == 0;
    if (gotA == 0) {
      break;
    }
  }
  return same;
}

// The second stop: the tied program and what it started go first, so that
// nothing writes the placeholder any more; then the placeholder, then this
// process, ended by the signal as it would have been without us.
[[noreturn]] void EndAtOnce(int signal) {
  if (const int group = tiedGroup.exchange(0); group > 0) {
    kill(-group, SIGKILL);
    while (waitpid(group, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  if (placeholderArmed.exchange(false) && SameBytes(placeholderPath, placeholderSource)) {
    unlink(placeholderPath);
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, signal);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  raise(signal);
  _exit(128 + signal);
}

void OnStopSignal(int signal) {
  // One signal asks to stop; a second, of either kind, ends the process.
  if (stopRequested.exchange(true)) {
    EndAtOnce(signal);
  }
}

bool CopyPath(char (&buffer)[kPathRoom], const std::string& path) {
  if (path.size() >= kPathRoom) {
    return false;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
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

void TieToSecondStop(int processGroup) {
  tiedGroup.store(processGroup);
}

// A path too long for the buffers is not armed: the rare placeholder then
// outlives a second stop, as it did before there was one.
RemovedOnSecondStop::RemovedOnSecondStop(const std::string& path, const std::string& source) {
  placeholderArmed.store(false);
  if (CopyPath(placeholderPath, path) && CopyPath(placeholderSource, source)) {
    placeholderArmed.store(true);
  }
}

RemovedOnSecondStop::~RemovedOnSecondStop() {
  placeholderArmed.store(false);
}
