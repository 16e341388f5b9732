#include <windows.h>

#include <algorithm>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/second_stop.h"

namespace {

// What a program killed by Stop ends with: the code Windows gives a console
// program ended by Ctrl+C, and above 1, so it never reads as a success.
constexpr UINT kStoppedExitCode = 0xC000013A;

DWORD Milliseconds(std::optional<std::chrono::milliseconds> timeout) {
  if (!timeout) {
    return INFINITE;
  }
  return static_cast<DWORD>(
      std::clamp<std::chrono::milliseconds::rep>(timeout->count(), 0, INFINITE - 1));
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& arguments,
                                                bool show, int& error) {
  if (arguments.empty() || arguments.front().empty()) {
    error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  std::wstring commandLine = CommandLineOf(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // Suspended until it is in its job, so that all it starts lands there too.
  const DWORD flags = CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | (show ? 0 : DETACHED_PROCESS);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                      &startup, &started)) {
    error = static_cast<int>(GetLastError());
    return std::nullopt;
  }
  UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  if (!job || !AssignProcessToJobObject(job.get(), process.get())) {
    job.Reset();
  }
  ResumeThread(thread.get());
  return ChildProcess(static_cast<int>(started.dwProcessId), std::move(process), std::move(job));
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      tied_(std::exchange(other.tied_, false)),
      process_(std::move(other.process_)),
      job_(std::move(other.job_)) {}

ChildProcess::~ChildProcess() {
  Untie();
}

void ChildProcess::EndWithUs() {
  if (!process_) {
    return;
  }
  // The job ends what it holds once its last handle closes, however this
  // process ends; a program outside a job only by a second stop.
  if (job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  TieToSecondStop(job_.get(), process_.get());
  tied_ = true;
}

void ChildProcess::Untie() {
  if (std::exchange(tied_, false)) {
    TieToSecondStop(nullptr, nullptr);
  }
}

WaitOutcome ChildProcess::WaitForEnd(std::optional<std::chrono::milliseconds> timeout) {
  if (!process_) {
    return WaitOutcome::Ended;
  }
  switch (WaitForSingleObject(process_.get(), Milliseconds(timeout))) {
    case WAIT_OBJECT_0:
      return WaitOutcome::Ended;
    case WAIT_TIMEOUT:
      return WaitOutcome::TimedOut;
    default:
      return WaitOutcome::Failed;
  }
}

void ChildProcess::Stop() {
  // An ended program keeps its exit code: neither call changes it.
  if (job_) {
    TerminateJobObject(job_.get(), kStoppedExitCode);
  } else if (process_) {
    TerminateProcess(process_.get(), kStoppedExitCode);
  }
}

std::optional<std::uint32_t> ChildProcess::Reap() {
  if (!process_) {
    return std::nullopt;
  }
  DWORD exitCode = 0;
  const bool ended = WaitForSingleObject(process_.get(), INFINITE) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process_.get(), &exitCode);
  Untie();
  process_.Reset();
  job_.Reset();
  pid_ = -1;
  return ended ? std::optional<std::uint32_t>(exitCode) : std::nullopt;
}
