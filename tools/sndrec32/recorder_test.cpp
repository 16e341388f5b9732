#include "tools/sndrec32/recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

// A recorder aimed at a file that already holds an older sound, as Korvalo
// leaves it before it starts the recorder.
class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(target_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("older");
  }
  QByteArray Target() {
    QFile file(target_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
  }
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

TEST(ButtonsFor, EnablesWhatEachStateAllows) {
  using S = RecorderState;
  EXPECT_EQ(ButtonsFor(S::Idle, true), (RecorderButtons{.Record = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Recording, true), (RecorderButtons{.Stop = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Recorded, true), (RecorderButtons{true, false, true, true, true}));
  EXPECT_EQ(ButtonsFor(S::Recorded, false), (RecorderButtons{true, false, false, true, true}));
  EXPECT_EQ(ButtonsFor(S::Playing, true), (RecorderButtons{.Stop = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::NoDevice, true), (RecorderButtons{.Cancel = true}));
}

TEST_F(RecorderTest, SavesTheRecordedToneAndNothingElse) {
  EXPECT_FALSE(recorder_.Save());  // no take yet
  recorder_.Record();
  mic_.Feed(8000, 333);  // half a second in chunks that split samples
  EXPECT_NEAR(recorder_.Level(), 0.8, 0.01);
  EXPECT_DOUBLE_EQ(recorder_.Seconds(), 0.5);
  recorder_.Stop();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(Target(), "older");

  ASSERT_TRUE(recorder_.Save());
  const auto wav = ParseWavFile(target_);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Format, (PcmFormat{.SampleRate = 16000, .Channels = 1, .BitsPerSample = 16}));
  EXPECT_EQ(wav->Data, mic_.fed_);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"beach.wav"});
}

TEST_F(RecorderTest, CancelDropsTheTakeAndLeavesTheFile) {
  RecordTake(recorder_, 1600);
  recorder_.Cancel();
  EXPECT_EQ(recorder_.State(), RecorderState::Idle);
  EXPECT_FALSE(recorder_.Save());

  recorder_.Record();
  mic_.Feed(1600);
  recorder_.Cancel();  // while recording: the microphone is let go
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(Target(), "older");
}

TEST_F(RecorderTest, WithoutMicrophoneOnlyCancelIsPossible) {
  Recorder recorder(nullptr, &speaker_, target_.toStdString());
  EXPECT_EQ(recorder.State(), RecorderState::NoDevice);
  EXPECT_EQ(recorder.Buttons(), (RecorderButtons{.Cancel = true}));
  EXPECT_EQ(recorder.Message(), kNoMicrophoneText);
  recorder.Record();
  EXPECT_FALSE(recorder.Save());
  recorder.Cancel();
  EXPECT_EQ(recorder.State(), RecorderState::NoDevice);
  EXPECT_EQ(Target(), "older");
}

TEST_F(RecorderTest, RecordingAgainReplacesTheTake) {
  RecordTake(recorder_, 4000);
  RecordTake(recorder_, 800);
  EXPECT_EQ(recorder_.Take(), std::vector<std::uint8_t>(mic_.fed_.end() - 1600, mic_.fed_.end()));
}

TEST_F(RecorderTest, MicrophoneTroubleIsToldAndKeepsWhatThereIs) {
  RecordTake(recorder_, 0);
  EXPECT_EQ(recorder_.State(), RecorderState::Idle);
  EXPECT_EQ(recorder_.Message(), kNothingRecordedText);

  recorder_.Record();
  mic_.Feed(1600);
  mic_.Fail();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder_.Message(), kInputFailedText);
  EXPECT_EQ(recorder_.Take().size(), 3200u);

  mic_.refuseStart_ = true;
  recorder_.Record();
  EXPECT_EQ(recorder_.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder_.Message(), kStartFailedText);
  EXPECT_EQ(recorder_.Take().size(), 3200u);
}

TEST_F(RecorderTest, StopsByItselfAtTheLengthLimit) {
  Recorder recorder(&mic_, &speaker_, target_.toStdString(), /*maxSeconds=*/1);
  recorder.Record();
  mic_.Feed(20000);
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder.Message(), kTooLongText);
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(recorder.Take().size(), 32000u);
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
