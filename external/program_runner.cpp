#include "external/program_runner.h"

#include <chrono>

#include "app/files.h"
#include "platform/path_syntax.h"
#include "platform/process.h"
#include "platform/search_path.h"

namespace {

// The poll is asked after every second the program runs.
constexpr std::chrono::milliseconds kPollInterval{1000};

// Waits until the program ends, the wait fails or the poll says stop;
// returns how the last wait ended.
WaitOutcome WaitPolling(ChildProcess& child, const PollFunction& poll) {
  WaitOutcome outcome;
  do {
    outcome = child.WaitForEnd(kPollInterval);
  } while (outcome == WaitOutcome::TimedOut && !poll());
  return outcome;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, bool wait, bool show,
               const PollFunction& poll) {
  int error = 0;
  std::optional<ChildProcess> child = ChildProcess::Start(arguments, show, error);
  // Whatever the reason, a program that did not start has not done its job.
  if (!child) {
    return 1;
  }
  if (!wait) {
    return 0;  // Dropping the handle leaves the program to the reaper.
  }
  // A program we wait for never outlives a run that is ended at once.
  child->EndWithUs();
  WaitOutcome outcome;
  if (poll) {
    outcome = WaitPolling(*child, poll);
    // Asked once more: a stop that came while the program was ending still
    // counts, and leaves a program that has already ended its own exit code.
    if (poll()) {
      child->Stop();
    }
  } else {
    outcome = child->WaitForEnd(std::nullopt);
  }
  // A program we can no longer watch is not left running unattended.
  if (outcome == WaitOutcome::Failed) {
    child->Stop();
  }
  const std::optional<std::uint32_t> exitCode = child->Reap();
  return !exitCode || *exitCode > 1 ? 1 : 0;
}

bool FindOnPath(std::string& name, std::optional<std::string_view> folderList) {
  const std::optional<std::string> path = CurrentSearchPath();
  if (!folderList && !path) {
    return false;
  }
  if (name.empty()) {
    return false;  // Every folder would match.
  }
  std::string_view rest = folderList ? *folderList : *path;
  while (!rest.empty()) {
    const std::size_t end = rest.find(kSearchPathSeparator);
    const std::string_view entry = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (entry.empty()) {
      continue;
    }
    std::string candidate(entry);
    if (kPathSeparators.find(candidate.back()) == std::string::npos) {
      candidate += kPathSeparator;
    }
    candidate += name;
    if (FileExists(candidate)) {
      name = candidate;
      return true;
    }
  }
  return false;
}
