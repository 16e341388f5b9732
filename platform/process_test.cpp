#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

std::uint32_t RunToEnd(const std::vector<std::string>& arguments) {
  int error = 0;
  std::optional<ChildProcess> child = ChildProcess::Start(arguments, false, error);
  EXPECT_TRUE(child) << "errno " << error;
  return child ? child->Reap().value_or(9999) : 9999;
}

TEST(ChildProcess, ExitCodesSignalsAndStartErrors) {
  TempDir dir;
  EXPECT_EQ(RunToEnd({dir.WriteScript("three", "exit 3")}), 3u);
  EXPECT_EQ(RunToEnd({dir.WriteScript("term", "kill -TERM $$")}), 128u + SIGTERM);
  EXPECT_EQ(RunToEnd({"true"}), 0u);  // A bare name is looked up on PATH.
  int error = 0;
  EXPECT_FALSE(ChildProcess::Start({dir / "missing"}, false, error));
  EXPECT_EQ(error, ENOENT);
}

TEST(ChildProcess, HiddenProgramsGetNullStreamsAndNoOtherDescriptors) {
  TempDir dir;
  // A descriptor without close-on-exec, as a careless library might leave one.
  const int null = open("/dev/null", O_RDONLY);
  const int leaky = fcntl(null, F_DUPFD, 57);
  close(null);
  const std::string script =
      dir.WriteScript("fds", "for fd in 0 1 2 " + std::to_string(leaky) +
                                 "; do\n  echo $fd $(readlink /proc/$$/fd/$fd) >> \"$1\"\ndone");
  EXPECT_EQ(RunToEnd({script, dir / "seen"}), 0u);
  close(leaky);
  EXPECT_EQ(ReadFileBytes(dir / "seen"),
            "0 /dev/null\n1 /dev/null\n2 /dev/null\n" + std::to_string(leaky) + "\n");
}

}  // namespace
