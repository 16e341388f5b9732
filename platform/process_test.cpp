#include "platform/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Exit codes, signals and start failures are tested through RunProgram.
TEST(ChildProcess, HiddenProgramsGetNullStreamsAndNoOtherDescriptors) {
  TempDir dir;
  // A descriptor without close-on-exec, as a careless library might leave one.
  const int null = open("/dev/null", O_RDONLY);
  const int leaky = fcntl(null, F_DUPFD, 57);
  close(null);
  const std::string script =
      dir.WriteScript("fds", "for fd in 0 1 2 " + std::to_string(leaky) +
                                 "; do\n  echo $fd $(readlink /proc/$$/fd/$fd) >> \"$1\"\ndone");
  int error = 0;
  std::optional<ChildProcess> child = ChildProcess::Start({script, dir / "seen"}, false, error);
  ASSERT_TRUE(child) << "errno " << error;
  EXPECT_EQ(child->Reap(), 0u);
  close(leaky);
  EXPECT_EQ(ReadFileBytes(dir / "seen"),
            "0 /dev/null\n1 /dev/null\n2 /dev/null\n" + std::to_string(leaky) + "\n");
}

// A kernel or container may refuse pidfd_open; waits then look at the program.
TEST(ChildProcess, WithoutAPidFdWaitsEndAndKeepTheExitCode) {
  TempDir dir;
  const PidFdOpener refused = [](int) {
    errno = ENOSYS;
    return -1;
  };
  int error = 0;
  std::optional<ChildProcess> child =
      ChildProcess::Start({dir.WriteScript("slow", "sleep 0.5\nexit 3")}, false, error, refused);
  ASSERT_TRUE(child) << "errno " << error;
  EXPECT_EQ(child->WaitForEnd(std::chrono::milliseconds(50)), WaitOutcome::TimedOut);
  EXPECT_EQ(child->WaitForEnd(std::chrono::milliseconds(10000)), WaitOutcome::Ended);
  EXPECT_EQ(child->Reap(), 3u);
  std::optional<ChildProcess> quick =
      ChildProcess::Start({dir.WriteScript("quick", "exit 4")}, false, error, refused);
  ASSERT_TRUE(quick);
  EXPECT_EQ(quick->WaitForEnd(std::nullopt), WaitOutcome::Ended);
  EXPECT_EQ(quick->Reap(), 4u);
}

}  // namespace
