#include "external/voice_recording.h"

#include <sys/stat.h>

#include <cstdio>
#include <tuple>

#include <gtest/gtest.h>

#include "app/files.h"
#include "platform/process_test_support.h"
#include "tests/test_support.h"

namespace {

// Also echoes log lines to standard error, so death tests can see them.
struct EchoingWindows : RecordingWindows {
  void LogLine(std::string_view line) override {
    shown_.emplace_back(line);
    RecordingWindows::LogLine(line);
    std::fprintf(stderr, "log: %s\n", shown_.back().c_str());
  }
  std::vector<std::string> shown_;  ///< Every line ever logged.
};

constexpr char kOnlyTheLogLine[] = "^log: Spelar in ljud för: \"beach\" \\.\\.\\.\n$";
constexpr char kShellName[] = "a; rm -rf ~ $(touch pwned) `touch pwned` 'q\" 100%s";

class RecordSoundTest : public testing::Test {
 protected:
  // Only the test's own folder is searched; the scripts name their tools in full.
  RecordSoundTest() : path_("PATH", dir_.MakeFolder("bin")) {
    dir_.MakeFolder("album");
    run_.Windows = &windows_;
    run_.Paths.EmptySound = dir_.Write("mallar/emptysound.wav", "EMPTY");
    run_.Settings.Recording = RecordAlways;
  }
  // A recorder that notes its arguments and what its file held, records
  // "REC" into it, then runs `ending`.
  void InstallRecorder(const std::string& ending) {
    dir_.WriteScript("bin/sndrec32.exe", "printf '%s\\n' \"$@\" > '" + dir_ / "args" +
                                             "'\n/bin/cat \"$1\" > '" + dir_ / "seen" +
                                             "'\nprintf REC > \"$1\"\n" + ending);
  }
  std::string Sound(const std::string& name = "beach") const {
    return dir_ / "album/" + name + ".wav";
  }
  void Record(const std::string& name = "beach") {
    RecordSound(run_, dir_ / "album/" + name + ".html", name);
  }

  TempDir dir_;
  ScopedEnv path_;
  EchoingWindows windows_;
  RunState run_;
};

using RecordSoundDeathTest = RecordSoundTest;

TEST_F(RecordSoundTest, RecordsOverTheEmptySoundAndClearsItsLogLine) {
  // Shell characters in a name run nothing and reach the recorder as one argument;
  // a missing empty sound still starts the recorder.
  for (const auto& [name, ending, emptySound, seen] :
       {std::tuple{"beach", "exit 0", "mallar/emptysound.wav", "EMPTY"},
        std::tuple{kShellName, "exit 1", "mallar/gone.wav", "OLD"}}) {
    run_.Paths.EmptySound = dir_ / emptySound;
    dir_.Write("album/" + std::string(name) + ".wav", "OLD");
    InstallRecorder(ending);
    Record(name);
    EXPECT_EQ(ReadFileBytes(dir_ / "args"), Sound(name) + "\n");
    EXPECT_EQ(ReadFileBytes(dir_ / "seen"), seen);
    EXPECT_EQ(ReadFileBytes(Sound(name)), "REC");
  }
  EXPECT_FALSE(FileExists(dir_ / "album/pwned") || FileExists("pwned"));
  EXPECT_EQ(windows_.shown_, (std::vector<std::string>{
                                 "Spelar in ljud för: \"beach\" ...",
                                 "Spelar in ljud för: \"" + std::string(kShellName) + "\" ..."}));
  EXPECT_TRUE(windows_.lines_.empty());
  EXPECT_TRUE(windows_.messages_.empty());
}

TEST_F(RecordSoundTest, ModesThatNeedNoRecordingTouchNothing) {
  // No recorder on PATH: looking for one would end the test.
  dir_.Write("album/beach.wav", "OLD");
  dir_.MakeFolder("album/dog.wav");
  for (const RecordMode mode : {RecordWhenMissing, RecordNever, static_cast<RecordMode>(7)}) {
    run_.Settings.Recording = mode;
    Record();
    Record("dog");
    if (mode != RecordWhenMissing) {
      Record("cat");
    }
  }
  EXPECT_EQ(ReadFileBytes(Sound()), "OLD");
  EXPECT_FALSE(FileExists(Sound("cat")));
  EXPECT_TRUE(windows_.shown_.empty());
  EXPECT_TRUE(windows_.messages_.empty());
}

TEST_F(RecordSoundDeathTest, NoRecorderIsFatalAndLeavesTheEmptySound) {
  dir_.Write("album/beach.wav", "OLD");
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1),
              "^Fatal Error: Windows inspelningsprogram kunde inte hittas\n$");
  EXPECT_EQ(ReadFileBytes(Sound()), "EMPTY");
}

TEST_F(RecordSoundDeathTest, AFailedOrCancelledRecordingEndsTheRunWithoutAMessage) {
  chmod(dir_.Write("bin/sndrec32.exe", "exit 0\n").c_str(), 0644);  // Cannot start.
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine);
  EXPECT_EQ(ReadFileBytes(Sound()), "EMPTY");
  for (const char* ending : {"exit 2", "exit 255", "kill -KILL $$"}) {
    InstallRecorder(ending);
    EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine) << ending;
    EXPECT_EQ(ReadFileBytes(Sound()), "REC");  // Whatever the recorder left.
  }
  windows_.cancel_ = true;
  dir_.WriteScript("bin/sndrec32.exe",
                   "echo $$ > '" + dir_ / "pid" + "'\n/bin/sleep 30\nprintf LATE > \"$1\"");
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine);
  EXPECT_FALSE(IsAlive(ReadPid(dir_ / "pid")));
  EXPECT_EQ(ReadFileBytes(Sound()), "EMPTY");
}

}  // namespace
