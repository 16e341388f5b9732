#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/process.h"
#include "platform/second_stop.h"

namespace {

// Owns what posix_spawn is told about the new program.
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawnattr_init(&attributes_);
    posix_spawn_file_actions_init(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }

  /// Returns 0 or the errno value of the step that failed.
  int Prepare(bool show) {
    // Our own signal mask and ignored signals (a thread may block some) must
    // not leak into another program. Its own process group lets a stop reach
    // whatever the program has started itself.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    int failed = posix_spawnattr_setflags(
        &attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    failed = failed ? failed : posix_spawnattr_setpgroup(&attributes_, 0);
    failed = failed ? failed : posix_spawnattr_setsigmask(&attributes_, &none);
    failed = failed ? failed : posix_spawnattr_setsigdefault(&attributes_, &all);
    if (!show) {
      failed = failed ? failed : AddNull(STDIN_FILENO, O_RDONLY);
      failed = failed ? failed : AddNull(STDOUT_FILENO, O_WRONLY);
      failed = failed ? failed : AddNull(STDERR_FILENO, O_WRONLY);
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Descriptors some library opened without close-on-exec stay ours.
    failed = failed ? failed : posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
#endif
    return failed;
  }

  const posix_spawnattr_t* attributes() const {
    return &attributes_;
  }
  const posix_spawn_file_actions_t* actions() const {
    return &actions_;
  }

 private:
  int AddNull(int fd, int flags) {
    return posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", flags, 0);
  }

  posix_spawnattr_t attributes_;
  posix_spawn_file_actions_t actions_;
};

// Collects `pid` whenever it ends, while the caller goes on. A program
// started without waiting would otherwise stay a zombie until we end.
void HandToReaper(pid_t pid) noexcept {
  try {
    std::thread([pid] {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the program is collected when we end.
  }
}

}  // namespace

int OpenPidFd(int pid) {
  // glibc 2.36's <sys/pidfd.h> cannot be included from C++; the syscall can.
  // A pidfd is always close-on-exec.
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& arguments,
                                                bool show, int& error, PidFdOpener openPidFd) {
  if (arguments.empty() || arguments.front().empty()) {
    error = ENOENT;
    return std::nullopt;
  }
  SpawnSetup setup;
  if (const int failed = setup.Prepare(show); failed != 0) {
    error = failed;
    return std::nullopt;
  }
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

  pid_t pid = -1;
  const int failed =
      posix_spawnp(&pid, argv.front(), setup.actions(), setup.attributes(), argv.data(), environ);
  if (failed != 0) {
    error = failed;
    return std::nullopt;
  }
  // An older kernel or a container's policy may refuse it: waits then poll.
  UniqueFd pidFd(openPidFd(pid));
  return ChildProcess(pid, std::move(pidFd));
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      tied_(std::exchange(other.tied_, false)),
      pidFd_(std::move(other.pidFd_)) {}

ChildProcess::~ChildProcess() {
  Untie();
  if (pid_ > 0) {
    HandToReaper(pid_);
  }
}

WaitOutcome ChildProcess::WaitForEnd(std::optional<std::chrono::milliseconds> timeout) {
  if (pid_ <= 0) {
    return WaitOutcome::Ended;
  }
  if (!pidFd_.valid()) {
    return PollForEnd(timeout);
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout.value_or(std::chrono::milliseconds(0));
  for (;;) {
    int waitMs = -1;
    if (timeout) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      waitMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }
    // The pidfd turns readable when the program ends: one poll sleeps until then.
    pollfd watched{pidFd_.get(), POLLIN, 0};
    const int ready = poll(&watched, 1, waitMs);
    if (ready > 0) {
      return WaitOutcome::Ended;
    }
    if (ready == 0) {
      return WaitOutcome::TimedOut;
    }
    if (errno != EINTR) {
      return WaitOutcome::Failed;
    }
  }
}

WaitOutcome ChildProcess::PollForEnd(std::optional<std::chrono::milliseconds> timeout) {
  // Short enough that an end is seen at once, long enough not to spin.
  constexpr std::chrono::milliseconds kStateInterval{20};
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout.value_or(std::chrono::milliseconds(0));
  for (;;) {
    // WNOWAIT leaves the program to be collected by Reap, with its status.
    siginfo_t info{};
    const int options = WEXITED | WNOWAIT | (timeout ? WNOHANG : 0);
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, options) != 0) {
      if (errno == EINTR) {
        continue;
      }
      return WaitOutcome::Failed;
    }
    if (info.si_pid != 0) {
      return WaitOutcome::Ended;
    }
    const Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
      return WaitOutcome::TimedOut;
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(left, kStateInterval));
  }
}

void ChildProcess::Stop() {
  if (pid_ <= 0) {
    return;
  }
  // The pid stays ours until reaped, so neither signal can hit a stranger.
  // A program that already ended ignores both and keeps its exit status.
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
}

void ChildProcess::EndWithUs() {
  if (pid_ > 0) {
    // Started in a group of its own, whose id is its pid.
    TieToSecondStop(pid_);
    tied_ = true;
  }
}

// Before the pid is collected, which frees it for another program.
void ChildProcess::Untie() {
  if (std::exchange(tied_, false)) {
    TieToSecondStop(0);
  }
}

std::optional<std::uint32_t> ChildProcess::Reap() {
  if (pid_ <= 0) {
    return std::nullopt;
  }
  Untie();
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(pid_, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  pid_ = -1;
  pidFd_.Reset();
  if (reaped < 0) {
    return std::nullopt;
  }
  if (WIFEXITED(status)) {
    return static_cast<std::uint32_t>(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status)) {
    return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  }
  return std::nullopt;
}
