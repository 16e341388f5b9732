#include "external/program_runner.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(RunProgram, OnlyExitCodes0And1SucceedAndAProgramThatCannotStartFails) {
  TempDir dir;
  const std::pair<const char*, int> cases[] = {
      {"exit 0", 0}, {"exit 1", 0}, {"exit 2", 1}, {"exit 255", 1}, {"kill -KILL $$", 1}};
  for (const auto& [body, expected] : cases) {
    const std::string program = dir.WriteScript("program", body);
    EXPECT_EQ(RunProgram({program}, true, false, nullptr), expected) << body;
    // Ending inside the first second keeps the code, whatever the poll says.
    EXPECT_EQ(RunProgram({program}, true, true, [] { return true; }), expected) << body;
  }
  EXPECT_EQ(RunProgram({dir / "missing"}, true, false, nullptr), 1);
  EXPECT_EQ(RunProgram({}, false, false, nullptr), 1);
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

TEST(FindOnPath, TriesTheListedFoldersOrPathInOrderAsTheyStand) {
  TempDir dir;
  const std::string a = dir.MakeFolder("a");
  const std::string b = dir.MakeFolder("b");
  dir.Write("b/x.exe", "");
  const auto find = [](std::optional<std::string_view> folders) {
    std::string name = "x.exe";
    return FindOnPath(name, folders) ? name : "";
  };
  EXPECT_EQ(find(a + "::" + b + "/"), b + "/x.exe");
  EXPECT_EQ(find(" " + b + ": " + a), "");  // No trimming.
  EXPECT_EQ(find("::"), "");
  dir.MakeFolder("a/x.exe");  // A folder named like the program counts.
  EXPECT_EQ(find(":" + a + ":" + b + ":"), a + "/x.exe");
  std::optional<ScopedEnv> path(std::in_place, "PATH", dir / "empty:" + b);
  EXPECT_EQ(find(std::nullopt), b + "/x.exe");
  path.emplace("PATH", std::nullopt);
  EXPECT_EQ(find(std::nullopt), "");
}

}  // namespace
