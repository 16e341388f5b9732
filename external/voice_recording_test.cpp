#include "external/voice_recording.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "app/files.h"
#include "tests/test_support.h"

namespace {

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
  bool Record(const std::string& name = "beach") {
    return RecordSound(run_, dir_ / "album/" + name + ".html", name);
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
    EXPECT_TRUE(Record());
    EXPECT_TRUE(Record("dog"));
    if (mode != RecordWhenMissing) {
      EXPECT_TRUE(Record("cat"));
    }
  }
  EXPECT_EQ(ReadFileBytes(Sound()), "OLD");
  EXPECT_FALSE(FileExists(Sound("cat")));
  EXPECT_EQ(windows_.clears_, 0);
  // Recorded again, the existing comment is what the recorder gets.
  run_.Settings.Recording = RecordAlways;
  InstallRecorder("exit 1");
  EXPECT_TRUE(Record());
  EXPECT_EQ(ReadFileBytes(dir_ / "seen"), "OLD");
  EXPECT_EQ(ReadFileBytes(Sound()), "REC");
  EXPECT_EQ(windows_.clears_, 1);
  EXPECT_TRUE(windows_.lines_.empty() && windows_.messages_.empty());
}

// A cancel ends the recorder and what it started; the empty sound put there
// for it goes again, and a missing recorder is fatal only after that.
TEST_F(RecordSoundDeathTest, ACancelEndsTheRecorderAndLeavesNoEmptySound) {
  windows_.cancel_ = true;
  dir_.WriteScript("bin/sndrec32.exe", "echo $$ > '" + dir_ / "pid" +
                                           "'\n/bin/sleep 30 &\necho $! > '" + dir_ / "child" +
                                           "'\nwait\nprintf LATE > \"$1\"");
  EXPECT_FALSE(Record());
  EXPECT_FALSE(IsAlive(ReadPid(dir_ / "pid")));
  EXPECT_TRUE(Eventually([&] { return !IsAlive(ReadPid(dir_ / "child")); }));
  EXPECT_FALSE(FileExists(Sound()));
  std::remove((dir_ / "bin/sndrec32.exe").c_str());
  EXPECT_EXIT(Record(), testing::ExitedWithCode(1),
              "^Fatal Error: Windows inspelningsprogram kunde inte hittas\n$");
  EXPECT_FALSE(FileExists(Sound()));
}

}  // namespace
