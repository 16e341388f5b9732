#include "tools/sndrec32/recorder_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The window around a recorder whose target already holds an older sound.
class RecorderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(target_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the older sound");
  }

  QPushButton* Button(RecorderWindow& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(name);
    EXPECT_TRUE(button) << name;
    return button;
  }
  void Click(RecorderWindow& window, const char* name) {
    QTest::mouseClick(Button(window, name), Qt::LeftButton);
  }
  QString Text(RecorderWindow& window, const char* name) {
    auto* label = window.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
  }
  std::vector<bool> Enabled(RecorderWindow& window) {
    std::vector<bool> enabled;
    for (const char* name :
         {"recordButton", "stopButton", "playButton", "saveButton", "cancelButton"}) {
      enabled.push_back(Button(window, name)->isEnabled());
    }
    return enabled;
  }

  QTemporaryDir dir_;
  QString target_ = dir_.filePath("strand i juli.wav");
  ToneInput mic_;
  FakeOutput speaker_;
};

TEST_F(RecorderWindowTest, WithoutMicrophoneSaysSoAndCanOnlyBeCancelled) {
  Recorder recorder(nullptr, nullptr, target_.toStdString());
  RecorderWindow window(recorder);
  window.show();
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Spela in ljud – strand i juli.wav"));
  EXPECT_EQ(Text(window, "statusLabel"), QString::fromUtf8(kNoMicrophoneText));
  EXPECT_EQ(Enabled(window), (std::vector<bool>{false, false, false, false, true}));
  EXPECT_FALSE(window.findChild<QProgressBar*>("levelBar")->isVisible());

  Click(window, "cancelButton");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ExitCode(), kExitNotSaved);
  EXPECT_EQ(ReadAll(target_), "the older sound");
}

TEST_F(RecorderWindowTest, RecordStopSaveWritesTheToneAndEndsWithZero) {
  Recorder recorder(&mic_, &speaker_, target_.toStdString());
  RecorderWindow window(recorder);
  window.show();
  EXPECT_TRUE(Text(window, "fileLabel").contains(target_));
  EXPECT_EQ(Enabled(window), (std::vector<bool>{true, false, false, false, true}));

  Click(window, "recordButton");
  mic_.Feed(24000);  // 1.5 s
  EXPECT_EQ(Enabled(window), (std::vector<bool>{false, true, false, false, true}));
  EXPECT_EQ(Text(window, "timeLabel"), "0:01");
  EXPECT_EQ(window.findChild<QProgressBar*>("levelBar")->value(), 80);

  Click(window, "stopButton");
  EXPECT_EQ(Enabled(window), (std::vector<bool>{true, false, true, true, true}));
  EXPECT_EQ(Text(window, "statusLabel"), QString::fromUtf8(kRecordedText));
  Click(window, "saveButton");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ExitCode(), kExitSaved);
  const QByteArray file = ReadAll(target_);
  const auto wav = ParseWav({file.begin(), file.end()});
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Data, LittleEndianBytes(mic_.Fed()));
}

TEST_F(RecorderWindowTest, ClosingWhileRecordingLosesNothingOnDisk) {
  Recorder recorder(&mic_, &speaker_, target_.toStdString());
  RecorderWindow window(recorder);
  window.show();
  Click(window, "recordButton");
  mic_.Feed(1600);
  window.close();
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(window.ExitCode(), kExitNotSaved);
  EXPECT_EQ(ReadAll(target_), "the older sound");
}

TEST_F(RecorderWindowTest, AFailedSaveKeepsTheWindowOpenWithTheReason) {
  const QString lost = dir_.filePath("gone/beach.wav");
  Recorder recorder(&mic_, &speaker_, lost.toStdString());
  RecorderWindow window(recorder);
  window.show();
  Click(window, "recordButton");
  mic_.Feed(1600);
  Click(window, "stopButton");
  Click(window, "saveButton");
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(Text(window, "statusLabel").startsWith(QString::fromUtf8(kSaveFailedText)));
  Click(window, "cancelButton");
  EXPECT_EQ(window.ExitCode(), kExitNotSaved);
  EXPECT_FALSE(QFile::exists(lost));
}

TEST(FormatDuration, ShowsMinutesAndSeconds) {
  EXPECT_EQ(FormatDuration(0), "0:00");
  EXPECT_EQ(FormatDuration(59.99), "0:59");
  EXPECT_EQ(FormatDuration(61), "1:01");
  EXPECT_EQ(FormatDuration(1800), "30:00");
}

TEST(Sndrec32Program, WrongUsageIsToldOnStandardErrorWithCodeTwo) {
  for (const QStringList& arguments : {QStringList{}, QStringList{"a.wav", "b.wav"}}) {
    QProcess program;
    program.start(QStringLiteral(SNDREC32_PROGRAM), arguments);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("sndrec32.exe LJUDFIL.wav"));
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
  }
}

}  // namespace
