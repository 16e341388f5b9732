#include "tools/sndrec32/recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

constexpr RecorderButtons kOnlyCancel{.Cancel = true};

QByteArray ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A recorder aimed at a file that already holds an older sound, as Korvalo
// leaves it before starting the recorder.
class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QFile file(QString::fromStdString(target_));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kOld);
  }

  static constexpr const char* kOld = "the older sound";
  QTemporaryDir dir_;
  std::string target_ = dir_.filePath("beach.wav").toStdString();
  ToneInput mic_;
  FakeOutput speaker_;
};

TEST(ButtonsFor, EnablesWhatEachStateAllows) {
  using S = RecorderState;
  EXPECT_EQ(ButtonsFor(S::Idle, true), (RecorderButtons{.Record = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Recording, true), (RecorderButtons{.Stop = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Recorded, true),
            (RecorderButtons{.Record = true, .Play = true, .Save = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Recorded, false),
            (RecorderButtons{.Record = true, .Save = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::Playing, true), (RecorderButtons{.Stop = true, .Cancel = true}));
  EXPECT_EQ(ButtonsFor(S::NoDevice, true), kOnlyCancel);
}

TEST_F(RecorderTest, SavesTheRecordedToneAsWav) {
  Recorder recorder(&mic_, &speaker_, target_);
  EXPECT_EQ(recorder.Message(), kIdleText);
  recorder.Record();
  EXPECT_EQ(recorder.State(), RecorderState::Recording);
  mic_.Feed(8000, 333);  // half a second in odd chunks that split samples
  EXPECT_NEAR(recorder.Level(), 0.8, 0.01);
  EXPECT_DOUBLE_EQ(recorder.Seconds(), 0.5);
  recorder.Stop();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(mic_.stops_, 1);
  EXPECT_EQ(recorder.Level(), 0.0);

  ASSERT_TRUE(recorder.Save());
  const QByteArray file = ReadAll(target_);
  const auto wav = ParseWav({file.begin(), file.end()});
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Format, (PcmFormat{.SampleRate = 16000, .Channels = 1, .BitsPerSample = 16}));
  EXPECT_EQ(wav->Data, LittleEndianBytes(mic_.Fed()));
}

TEST_F(RecorderTest, NothingIsWrittenWithoutATakeOrOnCancel) {
  Recorder recorder(&mic_, &speaker_, target_);
  EXPECT_FALSE(recorder.Save());  // disabled before any recording
  recorder.Record();
  mic_.Feed(1600);
  recorder.Stop();
  recorder.Cancel();
  EXPECT_EQ(recorder.State(), RecorderState::Idle);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_FALSE(recorder.Save());
  EXPECT_EQ(ReadAll(target_), kOld);

  recorder.Record();
  mic_.Feed(1600);
  recorder.Cancel();  // while recording: the microphone is let go
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(ReadAll(target_), kOld);
}

TEST_F(RecorderTest, WithoutMicrophoneOnlyCancelIsPossible) {
  Recorder recorder(nullptr, &speaker_, target_);
  EXPECT_EQ(recorder.State(), RecorderState::NoDevice);
  EXPECT_EQ(recorder.Buttons(), kOnlyCancel);
  EXPECT_EQ(recorder.Message(), kNoMicrophoneText);
  recorder.Record();
  recorder.Play();
  EXPECT_FALSE(recorder.Save());
  recorder.Cancel();
  EXPECT_EQ(recorder.State(), RecorderState::NoDevice);
  EXPECT_EQ(ReadAll(target_), kOld);
}

TEST_F(RecorderTest, RecordingAgainReplacesTheTake) {
  Recorder recorder(&mic_, &speaker_, target_);
  recorder.Record();
  mic_.Feed(4000);
  recorder.Stop();
  recorder.Record();
  EXPECT_TRUE(recorder.Take().empty());
  mic_.Feed(800);
  recorder.Stop();
  ASSERT_TRUE(recorder.Save());
  const QByteArray file = ReadAll(target_);
  const auto wav = ParseWav({file.begin(), file.end()});
  ASSERT_TRUE(wav);
  const std::vector<std::int16_t> second(mic_.Fed().end() - 800, mic_.Fed().end());
  EXPECT_EQ(wav->Data, LittleEndianBytes(second));
}

TEST_F(RecorderTest, TroubleWithTheMicrophoneIsToldAndKeepsWhatThereIs) {
  Recorder recorder(&mic_, &speaker_, target_);
  recorder.Record();
  recorder.Stop();  // nothing arrived
  EXPECT_EQ(recorder.State(), RecorderState::Idle);
  EXPECT_EQ(recorder.Message(), kNothingRecordedText);

  recorder.Record();
  mic_.Feed(1600);
  mic_.Fail();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder.Message(), kInputFailedText);
  EXPECT_EQ(recorder.Take().size(), 3200u);

  mic_.refuseStart_ = true;
  recorder.Record();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder.Message(), kStartFailedText);
  EXPECT_EQ(recorder.Take().size(), 3200u);  // the earlier take survives
}

TEST_F(RecorderTest, StopsByItselfAtTheLengthLimit) {
  Recorder recorder(&mic_, &speaker_, target_, /*maxSeconds=*/1);
  recorder.Record();
  mic_.Feed(20000);
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder.Message(), kTooLongText);
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(recorder.Take().size(), 32000u);
}

TEST_F(RecorderTest, PlaysTheTakeBack) {
  Recorder recorder(&mic_, &speaker_, target_);
  recorder.Record();
  mic_.Feed(1600);
  recorder.Stop();
  recorder.Play();
  EXPECT_EQ(recorder.State(), RecorderState::Playing);
  EXPECT_EQ(recorder.Buttons(), (RecorderButtons{.Stop = true, .Cancel = true}));
  ASSERT_EQ(speaker_.played_.size(), 1u);
  EXPECT_EQ(speaker_.played_[0], recorder.Take());
  EXPECT_EQ(speaker_.format_, mic_.Format());
  speaker_.Finish();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);

  recorder.Play();
  recorder.Stop();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(speaker_.stops_, 1);

  speaker_.refusePlay_ = true;
  recorder.Play();
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_EQ(recorder.Message(), kPlayFailedText);

  Recorder mute(&mic_, nullptr, target_);
  mute.Record();
  mic_.Feed(1600);
  mute.Stop();
  EXPECT_FALSE(mute.Buttons().Play);
  mute.Play();
  EXPECT_EQ(mute.State(), RecorderState::Recorded);
}

TEST_F(RecorderTest, AFailedSaveSaysWhyAndCanBeRetried) {
  const std::string lost = dir_.filePath("gone/beach.wav").toStdString();
  Recorder recorder(&mic_, &speaker_, lost);
  recorder.Record();
  mic_.Feed(1600);
  recorder.Stop();
  EXPECT_FALSE(recorder.Save());
  EXPECT_EQ(recorder.State(), RecorderState::Recorded);
  EXPECT_TRUE(recorder.Message().starts_with(kSaveFailedText)) << recorder.Message();
  EXPECT_TRUE(recorder.Buttons().Save);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("gone"));
  EXPECT_TRUE(recorder.Save());
}

TEST_F(RecorderTest, ReportsEveryChange) {
  Recorder recorder(&mic_, &speaker_, target_);
  int changes = 0;
  recorder.SetOnChange([&] { ++changes; });
  recorder.Record();
  EXPECT_EQ(changes, 1);
  mic_.Feed(1600, 640);  // five chunks, each a new length and level
  EXPECT_EQ(changes, 6);
  recorder.Stop();
  EXPECT_EQ(changes, 7);
}

}  // namespace
