#include "platform/process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "external/program_runner.h"
#include "tests/test_support.h"
#include "tests/windows_test_support.h"

namespace {

// Windows hands a program one command line, which it splits itself: what an
// album's names hold must arrive whole, and nothing in them may run.
TEST(ChildProcess, ArgumentsArriveWholeAndExitCodesAreTakenUnsigned) {
  TempDir dir;
  const ScopedEnv log("KORVALO_FAKE_LOG", dir / "log");
  const std::vector<std::string> odd = {"Sol & sjö", "x^y",     "%PATH%", "\"quoted\"", "it's",
                                        "a\\\\\"b",  "trail\\", "",       "\t",         "# 100%"};
  std::vector<std::string> line = {FakeProgram()};
  line.insert(line.end(), odd.begin(), odd.end());
  EXPECT_EQ(RunProgram(line, true, false, nullptr), 0);
  std::string expected;
  for (const std::string& argument : odd) {
    expected += argument + "\n";
  }
  EXPECT_EQ(ReadFileBytes(dir / "log"), expected + ".\n");

  for (const auto& [code, failed] : {std::pair{"1", 0}, {"2", 1}, {"4294967295", 1}}) {
    EXPECT_EQ(RunProgram({FakeProgram(), "--exit", code}, true, false, nullptr), failed) << code;
  }
  int error = 0;
  std::optional<ChildProcess> child =
      ChildProcess::Start({FakeProgram(), "--exit", "4294967295"}, true, error);
  ASSERT_TRUE(child) << error;
  EXPECT_EQ(child->Reap(), 4294967295u);
}

// A cancelled recording ends the recorder and whatever it started, which
// Windows would otherwise leave running.
TEST(ChildProcess, StopEndsTheProgramAndAllItStarted) {
  TempDir dir;
  const ScopedEnv log("KORVALO_FAKE_LOG", dir / "log");
  int error = 0;
  std::optional<ChildProcess> child = ChildProcess::Start({FakeProgram(), "--spawn"}, false, error);
  ASSERT_TRUE(child) << error;
  const std::string said = WaitForLog(dir / "log", "spawned ");
  ASSERT_NE(said.find("spawned "), std::string::npos);
  const int grandchild = std::stoi(said.substr(said.find("spawned ") + 8));
  ASSERT_GT(grandchild, 0);
  const UniqueHandle started(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(grandchild)));
  EXPECT_EQ(child->WaitForEnd(std::chrono::milliseconds(100)), WaitOutcome::TimedOut);
  child->Stop();
  EXPECT_EQ(child->WaitForEnd(std::chrono::seconds(10)), WaitOutcome::Ended);
  EXPECT_GT(child->Reap().value_or(0), 1u);
  EXPECT_EQ(WaitForSingleObject(started.get(), 10000), WAIT_OBJECT_0);
}

}  // namespace
