#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

/// Owns one file descriptor and closes it when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

/// How a waited-for wait ended.
enum class WaitOutcome {
  Ended,     ///< The program has ended (it may still need reaping).
  TimedOut,  ///< Still running when the time was up.
  Failed,    ///< The wait itself failed; the program's state is unknown.
};

/// Opens a pidfd for `pid`: a descriptor, or -1 when the kernel refuses.
using PidFdOpener = int (*)(int pid);

/// The kernel's own pidfd_open.
int OpenPidFd(int pid);

/// A program this process started. Until it has been reaped, dropping the
/// object hands the program to a reaper thread that collects it when it ends,
/// so no zombie is left behind however long the caller keeps running.
class ChildProcess {
 public:
  /// Starts `arguments[0]` with the whole vector as its argument vector, no
  /// shell involved; a name without '/' is searched on PATH. The program gets
  /// default signal handling, none of this process's descriptors but the
  /// standard three, and its own process group. When `show` is false its
  /// standard input, output and error are /dev/null. Returns nothing and sets
  /// `error` to an errno value when it cannot be started. Waits use a pidfd
  /// from `openPidFd`; where that is refused they poll the program's state.
  static std::optional<ChildProcess> Start(const std::vector<std::string>& arguments, bool show,
                                           int& error, PidFdOpener openPidFd = OpenPidFd);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  int pid() const { return pid_; }

  /// Sleeps in the kernel until the program ends or `timeout` has passed;
  /// without a timeout it waits as long as it takes. Without a pidfd it looks
  /// at the program's state every few tens of milliseconds instead.
  WaitOutcome WaitForEnd(std::optional<std::chrono::milliseconds> timeout);

  /// Kills the program and everything in its process group at once. A
  /// program that has already ended keeps the exit status it ended with.
  void Stop();

  /// Waits until the program is gone and collects it. Returns its exit code,
  /// or 128 plus the number of the signal that killed it (as shells report
  /// it, so a crash never reads as exit code 0 or 1); nothing when it cannot
  /// be collected. Later calls return nothing.
  std::optional<std::uint32_t> Reap();

 private:
  ChildProcess(int pid, UniqueFd pidFd) : pid_(pid), pidFd_(std::move(pidFd)) {}
  WaitOutcome PollForEnd(std::optional<std::chrono::milliseconds> timeout);

  int pid_ = -1;  ///< -1 once reaped or handed on.
  UniqueFd pidFd_;
};
