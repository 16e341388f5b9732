#include "external/voice_recording.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/files.h"
#include "tests/test_support.h"

namespace {

constexpr char kOnlyTheLogLine[] = "^Spelar in ljud för: \"beach\" \\.\\.\\.\n$";

class RecordSoundTest : public testing::Test {
 protected:
  // Only the test's own folder is searched; the scripts name their tools in full.
  RecordSoundTest() : path_("PATH", dir_.MakeFolder("bin")) {
    dir_.MakeFolder("album");
    run_.Windows = &windows_;
    run_.Paths.EmptySound = dir_.Write("mallar/emptysound.wav", "EMPTY");
    run_.Settings.Recording = RecordAlways;
  }
  // A recorder that notes what its file held, records "REC" into it, then runs `ending`.
  void InstallRecorder(const std::string& ending) {
    dir_.WriteScript("bin/sndrec32.exe",
                     "/bin/cat \"$1\" > '" + dir_ / "seen" + "'\nprintf REC > \"$1\"\n" + ending);
  }
  std::string Sound(const std::string& name = "beach") const {
    return dir_ / "album/" + name + ".wav";
  }
  void Record(const std::string& name = "beach") {
    RecordSound(run_, dir_ / "album/" + name + ".html", name);
  }

  TempDir dir_;
  ScopedEnv path_;
  RecordingWindows windows_;
  RunState run_;
};

using RecordSoundDeathTest = RecordSoundTest;

TEST_F(RecordSoundTest, ModesThatNeedNoRecordingTouchNothingAndASuccessClearsItsLine) {
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
  EXPECT_EQ(windows_.clears_, 0);
  run_.Settings.Recording = RecordAlways;
  InstallRecorder("exit 1");
  Record();
  EXPECT_EQ(ReadFileBytes(dir_ / "seen"), "EMPTY");
  EXPECT_EQ(ReadFileBytes(Sound()), "REC");
  EXPECT_EQ(windows_.clears_, 1);
  EXPECT_TRUE(windows_.lines_.empty() && windows_.messages_.empty());
}

TEST_F(RecordSoundDeathTest, AMissingFailedOrCancelledRecorderEndsTheRun) {
  dir_.Write("album/beach.wav", "OLD");
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1),
              "^Fatal Error: Windows inspelningsprogram kunde inte hittas\n$");
  EXPECT_EQ(ReadFileBytes(Sound()), "EMPTY");
  chmod(dir_.Write("bin/sndrec32.exe", "exit 0\n").c_str(), 0644);  // Cannot start.
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine);
  InstallRecorder("kill -KILL $$");
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine);
  EXPECT_EQ(ReadFileBytes(Sound()), "REC");  // Whatever the recorder left.
  windows_.cancel_ = true;
  // What the recorder started ends with it.
  dir_.WriteScript("bin/sndrec32.exe", "echo $$ > '" + dir_ / "pid" +
                                           "'\n/bin/sleep 30 &\necho $! > '" + dir_ / "child" +
                                           "'\nwait\nprintf LATE > \"$1\"");
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1), kOnlyTheLogLine);
  EXPECT_FALSE(IsAlive(ReadPid(dir_ / "pid")));
  EXPECT_TRUE(Eventually([&] { return !IsAlive(ReadPid(dir_ / "child")); }));
  EXPECT_EQ(ReadFileBytes(Sound()), "EMPTY");
}

}  // namespace
