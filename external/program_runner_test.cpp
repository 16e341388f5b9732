#include "external/program_runner.h"

#include <chrono>

#include <gtest/gtest.h>

#include "platform/process_test_support.h"
#include "tests/test_support.h"

namespace {

TEST(RunProgram, OnlyExitCodes0And1Succeed) {
  TempDir dir;
  const std::pair<const char*, int> cases[] = {
      {"exit 0", 0}, {"exit 1", 0}, {"exit 2", 1}, {"exit 255", 1}, {"kill -KILL $$", 1}};
  for (const auto& [body, expected] : cases) {
    const std::string program = dir.WriteScript("program", body);
    EXPECT_EQ(RunProgram({program}, true, false, nullptr), expected) << body;
    EXPECT_EQ(RunProgram({program}, true, true, [] { return false; }), expected) << body;
  }
  // Not started: missing, not executable, a folder, nothing at all.
  EXPECT_EQ(RunProgram({dir / "missing"}, true, false, nullptr), 1);
  EXPECT_EQ(RunProgram({dir.Write("plain", "exit 0\n")}, true, false, nullptr), 1);
  EXPECT_EQ(RunProgram({dir.MakeFolder("folder")}, false, false, nullptr), 1);
  EXPECT_EQ(RunProgram({}, false, false, nullptr), 1);
}

TEST(RunProgram, AStopFromThePollEndsTheProgramAndWhatItStarted) {
  TempDir dir;
  const std::string script =
      dir.WriteScript("long", "echo $$ > \"$1\"\nsleep 30 &\necho $! > \"$2\"\nwait");
  int polls = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(
      RunProgram({script, dir / "self", dir / "child"}, true, false, [&] { return ++polls > 0; }),
      1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(polls, 2);  // After the first second, then once more before the stop.
  EXPECT_EQ(ProcessState(ReadPid(dir / "self")), 0);
  const int child = ReadPid(dir / "child");
  EXPECT_TRUE(Eventually([&] { return !IsAlive(child); }));
}

TEST(RunProgram, AProgramThatEndedKeepsItsExitCodeDespiteALateStop) {
  TempDir dir;
  int polls = 0;
  const PollFunction stop = [&] { return ++polls > 0; };
  EXPECT_EQ(RunProgram({dir.WriteScript("ok", "exit 1")}, true, false, stop), 0);
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(RunProgram({dir.WriteScript("bad", "exit 2")}, true, false, stop), 1);
}

TEST(RunProgram, WithoutWaitingItReturnsAtOnceAndLeavesNoZombie) {
  TempDir dir;
  const std::string script = dir.WriteScript("later", "echo $$ > \"$1\"\nsleep 0.3\nexit 2");
  EXPECT_EQ(RunProgram({script, dir / "pid"}, false, false, nullptr), 0);
  const int pid = ReadPid(dir / "pid");
  EXPECT_TRUE(IsAlive(pid));
  // A zombie keeps its /proc entry; only a reaped program loses it.
  EXPECT_TRUE(Eventually([&] { return ProcessState(pid) == 0; }));
}

TEST(FindOnPath, TriesTheListedFoldersInOrderAsTheyStand) {
  TempDir dir;
  const std::string a = dir.MakeFolder("a");
  const std::string b = dir.MakeFolder("b");
  dir.Write("b/x.exe", "");
  std::string name = "x.exe";
  EXPECT_TRUE(FindOnPath(name, a + "::" + b + "/"));
  EXPECT_EQ(name, b + "/x.exe");
  dir.MakeFolder("a/x.exe");  // A folder named like the program counts.
  name = "x.exe";
  EXPECT_TRUE(FindOnPath(name, ":" + a + ":" + b + ":"));
  EXPECT_EQ(name, a + "/x.exe");
  name = "x.exe";
  EXPECT_FALSE(FindOnPath(name, " " + b + ": " + a));  // No trimming.
  EXPECT_FALSE(FindOnPath(name, "::"));
  EXPECT_EQ(name, "x.exe");
}

TEST(FindOnPath, SearchesPathOrNothingWhenItIsUnset) {
  TempDir dir;
  const std::string recorder = dir.Write("bin/sndrec32.exe", "");
  std::string name = "sndrec32.exe";
  {
    ScopedEnv path("PATH", dir / "empty:" + dir / "bin");
    EXPECT_TRUE(FindOnPath(name));
    EXPECT_EQ(name, recorder);
  }
  name = "sndrec32.exe";
  ScopedEnv path("PATH", std::nullopt);
  EXPECT_FALSE(FindOnPath(name));
  EXPECT_EQ(name, "sndrec32.exe");
}

}  // namespace
