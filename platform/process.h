#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "platform/unique_handle.h"
#else
#include "platform/unique_fd.h"

/// Opens a pidfd for `pid`: a descriptor, or -1 when the kernel refuses.
using PidFdOpener = int (*)(int pid);

/// The kernel's own pidfd_open.
int OpenPidFd(int pid);
#endif

/// How a waited-for wait ended.
enum class WaitOutcome {
  Ended,     ///< The program has ended (it may still need reaping).
  TimedOut,  ///< Still running when the time was up.
  Failed,    ///< The wait itself failed; the program's state is unknown.
};

/// A program this process started. On Linux, until it has been reaped,
/// dropping the object hands the program to a reaper thread that collects it
/// when it ends, so no zombie is left behind however long the caller keeps
/// running. On Windows dropping it only lets go of its handles.
class ChildProcess {
 public:
  /// Starts `arguments[0]` with the whole vector as its argument vector, no
  /// shell or command interpreter involved, so no character of an argument
  /// means anything to anyone but the program. Returns nothing and sets
  /// `error` to the system's error code (errno, GetLastError) when it cannot
  /// be started.
  ///
  /// Linux: a name without '/' is searched on PATH. The program gets default
  /// signal handling, none of this process's descriptors but the standard
  /// three, and its own process group. When `show` is false its standard
  /// input, output and error are /dev/null. Waits use a pidfd from
  /// `openPidFd`; where that is refused they poll the program's state.
  ///
  /// Windows: CreateProcessW on the vector quoted as CommandLineToArgvW splits
  /// it, searched for as Windows does, in a job object of its own that also
  /// takes in whatever it starts. It inherits no handle of this process; when
  /// `show` is false it gets no console either.
#ifdef _WIN32
  static std::optional<ChildProcess> Start(const std::vector<std::string>& arguments, bool show,
                                           int& error);
#else
  static std::optional<ChildProcess> Start(const std::vector<std::string>& arguments, bool show,
                                           int& error, PidFdOpener openPidFd = OpenPidFd);
#endif

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  /// The system's id of the program; -1 once reaped.
  int pid() const {
    return pid_;
  }

  /// Sleeps until the program ends or `timeout` has passed; without a timeout
  /// it waits as long as it takes. On Linux without a pidfd it looks at the
  /// program's state every few tens of milliseconds instead.
  WaitOutcome WaitForEnd(std::optional<std::chrono::milliseconds> timeout);

  /// Kills the program and everything in its process group (its job on
  /// Windows) at once. A program that has already ended keeps the exit status
  /// it ended with; one killed here never ends with 0 or 1.
  void Stop();

  /// Ties the program to this process until it is reaped: a second stop
  /// (InterruptCatcher) ends it, and all it started, before this process
  /// ends; on Windows so does any end of this process. One at a time.
  void EndWithUs();

  /// Waits until the program is gone and collects it. Returns its exit code,
  /// taken unsigned on Windows; on Linux 128 plus the number of the signal
  /// that killed it (as shells report it, so a crash never reads as exit code
  /// 0 or 1); nothing when it cannot be collected. Later calls return nothing.
  std::optional<std::uint32_t> Reap();

 private:
#ifdef _WIN32
  ChildProcess(int pid, UniqueHandle process, UniqueHandle job)
      : pid_(pid), process_(std::move(process)), job_(std::move(job)) {}

  void Untie();

  int pid_ = -1;  ///< -1 once reaped or handed on.
  bool tied_ = false;
  UniqueHandle process_;
  UniqueHandle job_;  ///< none where the system refused one: Stop ends the program alone
#else
  ChildProcess(int pid, UniqueFd pidFd) : pid_(pid), pidFd_(std::move(pidFd)) {}
  WaitOutcome PollForEnd(std::optional<std::chrono::milliseconds> timeout);
  void Untie();

  int pid_ = -1;  ///< -1 once reaped or handed on.
  bool tied_ = false;
  UniqueFd pidFd_;
#endif
};
