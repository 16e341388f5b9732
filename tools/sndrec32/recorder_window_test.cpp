#include "tools/sndrec32/recorder_window.h"

#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

class RecorderWindowTest : public ::testing::Test {
 protected:
  void Click(const char* name) {
    QTest::mouseClick(window_.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  std::vector<bool> Enabled() {
    std::vector<bool> enabled;
    for (const char* name :
         {"recordButton", "stopButton", "playButton", "saveButton", "cancelButton"}) {
      enabled.push_back(window_.findChild<QPushButton*>(name)->isEnabled());
    }
    return enabled;
  }

  QTemporaryDir dir_;
  QString target_ = dir_.filePath("strand i juli.wav");
  ToneInput mic_;
  FakeOutput speaker_;
  Recorder recorder_{&mic_, &speaker_, target_.toStdString()};
  RecorderWindow window_{recorder_};
};

TEST_F(RecorderWindowTest, RecordStopSaveWritesTheToneAndEndsWithZero) {
  window_.show();
  EXPECT_EQ(window_.windowTitle(), QString::fromUtf8("Spela in ljud – strand i juli.wav"));
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, false, false, true}));
  Click("recordButton");
  mic_.Feed(24000);  // 1.5 s
  EXPECT_EQ(Enabled(), (std::vector<bool>{false, true, false, false, true}));
  EXPECT_EQ(window_.findChild<QLabel*>("timeLabel")->text(), "0:01");
  EXPECT_EQ(window_.findChild<QProgressBar*>("levelBar")->value(), 80);
  Click("stopButton");
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, true, true}));
  Click("saveButton");
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(window_.ExitCode(), kExitSaved);
  const auto wav = ParseWavFile(target_);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Data, mic_.fed_);
}

TEST_F(RecorderWindowTest, ClosingWhileRecordingEndsWithTwoAndWritesNothing) {
  window_.show();
  Click("recordButton");
  mic_.Feed(1600);
  window_.close();
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(window_.ExitCode(), kExitNotSaved);
  EXPECT_FALSE(QFile::exists(target_));
}

TEST(RecorderWindow, WithoutMicrophoneSaysSoAndCanOnlyBeCancelled) {
  Recorder recorder(nullptr, nullptr, "/tmp/x.wav");
  RecorderWindow window(recorder);
  window.show();
  EXPECT_EQ(window.findChild<QLabel*>("statusLabel")->text(), QString::fromUtf8(kNoMicrophoneText));
  EXPECT_FALSE(window.findChild<QProgressBar*>("levelBar")->isVisible());
  for (auto* button : window.findChildren<QPushButton*>()) {
    EXPECT_EQ(button->isEnabled(), button->objectName() == "cancelButton")
        << button->text().toStdString();
  }
  QTest::mouseClick(window.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ExitCode(), kExitNotSaved);
}

TEST(Sndrec32Program, WrongUsageIsToldOnStandardErrorWithCodeTwo) {
  for (const QStringList& arguments : {QStringList{}, QStringList{"a.wav", "b.wav"}}) {
    QProcess program;
    program.start(QStringLiteral(SNDREC32_PROGRAM), arguments);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("sndrec32.exe LJUDFIL.wav"));
  }
}

}  // namespace
