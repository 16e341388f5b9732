#include "tools/sndrec32/recorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

// Real sound, the sound server going away and the keys are tested in
// tests/real_sound_test.sh; cancelling and skipping through the window.
class RecorderTest : public ::testing::Test {
 protected:
  void RecordTake(Recorder& recorder, std::size_t samples) {
    recorder.Record();
    mic_.Feed(samples);
    recorder.Stop();
  }

  QTemporaryDir dir_;
  QString target_ = dir_.filePath("beach.wav");
  ToneInput mic_;
  FakeOutput speaker_;
  Recorder recorder_{&mic_, &speaker_, target_.toStdString()};
};

TEST_F(RecorderTest, OnlyTheLastTakeIsKept) {
  EXPECT_FALSE(recorder_.Save());  // no take yet
  RecordTake(recorder_, 4000);
  RecordTake(recorder_, 800);
  EXPECT_EQ(recorder_.Take(), std::vector<std::uint8_t>(mic_.fed_.end() - 1600, mic_.fed_.end()));
}

TEST_F(RecorderTest, AnEarlyEndIsToldAndKeepsWhatThereIs) {
  recorder_.Record();
  mic_.Feed(1600);
  mic_.Fail();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder_.Message(), kInputFailedText);

  mic_.refuseStart_ = true;
  recorder_.Record();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder_.Message(), kStartFailedText);
  EXPECT_EQ(recorder_.Take().size(), 3200u);

  mic_.refuseStart_ = false;
  recorder_.Record();
  mic_.Fail();  // before any sound: the earlier take stays
  EXPECT_EQ(recorder_.Take().size(), 3200u);
  Recorder limited(&mic_, &speaker_, target_.toStdString(), /*maxSeconds=*/1);
  limited.Record();
  mic_.Feed(20000);
  EXPECT_EQ(limited.State(), RecorderState::Recorded);
  EXPECT_EQ(limited.Message(), kTooLongText);
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(limited.Take().size(), 32000u);
}

TEST_F(RecorderTest, PlaybackEndsOnceHeardOrSaysItBroke) {
  RecordTake(recorder_, 1600);
  for (const bool played : {true, false}) {
    recorder_.Play();
    EXPECT_EQ(speaker_.played_, recorder_.Take());
    speaker_.Finish(played);
    EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
    EXPECT_EQ(recorder_.Message(), played ? kRecordedText : kPlaybackBrokeText);
  }
  recorder_.Play();
  recorder_.Stop();
  EXPECT_EQ(speaker_.stops_, 1);
  speaker_.refusePlay_ = true;
  recorder_.Play();
  EXPECT_EQ(recorder_.Message(), kPlayFailedText);
}

TEST_F(RecorderTest, AnUnusableMicrophoneKeepsTheTake) {
  RecordTake(recorder_, 1600);
  EXPECT_TRUE(recorder_.SetInput(nullptr));
  EXPECT_EQ(recorder_.Message(), kMicrophoneUnusableText);
  EXPECT_EQ(recorder_.Buttons(), (RecorderButtons{.Play = true, .Save = true, .Cancel = true}));
  EXPECT_TRUE(recorder_.SetInput(&mic_));
  recorder_.Record();
  EXPECT_FALSE(recorder_.SetInput(nullptr));  // not while recording
}

TEST_F(RecorderTest, AFailedSaveSaysWhyAndCanBeRetried) {
  Recorder recorder(&mic_, &speaker_, dir_.filePath("gone/beach.wav").toStdString());
  RecordTake(recorder, 1600);
  EXPECT_FALSE(recorder.Save());
  EXPECT_TRUE(recorder.Message().starts_with(kSaveFailedText)) << recorder.Message();
  EXPECT_TRUE(recorder.Buttons().Save);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("gone"));
  EXPECT_TRUE(recorder.Save());
}

}  // namespace
