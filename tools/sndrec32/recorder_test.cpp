#include "tools/sndrec32/recorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

// Saving, buttons, cancelling and the lack of a microphone are tested
// through the window.
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
  RecordTake(recorder_, 0);
  EXPECT_EQ(recorder_.State(), RecorderState::Idle);
  EXPECT_EQ(recorder_.Message(), kNothingRecordedText);

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
  Recorder limited(&mic_, &speaker_, target_.toStdString(), /*maxSeconds=*/1);
  limited.Record();
  mic_.Feed(20000);
  EXPECT_EQ(limited.State(), RecorderState::Recorded);
  EXPECT_EQ(limited.Message(), kTooLongText);
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(limited.Take().size(), 32000u);
}

TEST_F(RecorderTest, PlaysTheTakeBack) {
  RecordTake(recorder_, 1600);
  recorder_.Play();
  EXPECT_EQ(recorder_.State(), RecorderState::Playing);
  EXPECT_EQ(speaker_.played_, recorder_.Take());
  EXPECT_EQ(speaker_.format_, mic_.Format());
  speaker_.Finish();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);

  recorder_.Play();
  recorder_.Stop();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(speaker_.stops_, 1);

  speaker_.refusePlay_ = true;
  recorder_.Play();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder_.Message(), kPlayFailedText);

  Recorder withoutSpeaker(&mic_, nullptr, target_.toStdString());
  RecordTake(withoutSpeaker, 1600);
  EXPECT_FALSE(withoutSpeaker.Buttons().Play);
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
