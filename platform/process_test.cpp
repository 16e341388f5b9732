#include "platform/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Exit codes, signals and start failures are tested through RunProgram. A kernel or
// container may refuse pidfd_open; waits then look at the program.
TEST(ChildProcess, HiddenProgramsGetOnlyNullStreamsAndWaitsWorkWithoutAPidFd) {
  TempDir dir;
  // A descriptor without close-on-exec, as a careless library might leave one.
  const int leaky = fcntl(STDERR_FILENO, F_DUPFD, 57);
  const std::string script = dir.WriteScript(
      "fds", "sleep 0.5\nfor fd in 0 1 2 " + std::to_string(leaky) +
                 "; do\n  echo $fd $(readlink /proc/$$/fd/$fd) >> \"$1\"\ndone\nexit 3");
  const PidFdOpener refused = [](int) {
    errno = ENOSYS;
    return -1;
  };
  int error = 0;
  std::optional<ChildProcess> child =
      ChildProcess::Start({script, dir / "seen"}, false, error, refused);
  ASSERT_TRUE(child) << "errno " << error;
  EXPECT_EQ(child->WaitForEnd(std::chrono::milliseconds(50)), WaitOutcome::TimedOut);
  EXPECT_EQ(child->WaitForEnd(std::chrono::milliseconds(10000)), WaitOutcome::Ended);
  EXPECT_EQ(child->WaitForEnd(std::nullopt), WaitOutcome::Ended);
  EXPECT_EQ(child->Reap(), 3u);
  close(leaky);
  EXPECT_EQ(ReadFileBytes(dir / "seen"),
            "0 /dev/null\n1 /dev/null\n2 /dev/null\n" + std::to_string(leaky) + "\n");
}

}  // namespace
