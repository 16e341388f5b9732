#include "tools/sndrec32/recorder_window.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"
#include "tools/sndrec32/wav_file.h"

namespace {

// The buttons in window order (record, stop, play, save, cancel) that can be clicked.
std::vector<bool> Enabled(const RecorderWindow& window) {
  std::vector<bool> enabled;
  for (const char* name :
       {"recordButton", "stopButton", "playButton", "saveButton", "cancelButton"}) {
    enabled.push_back(window.findChild<QPushButton*>(name)->isEnabled());
  }
  return enabled;
}

void Click(const RecorderWindow& window, const char* name) {
  QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
}

class RecorderWindowTest : public ::testing::Test {
 protected:
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
  EXPECT_EQ(Enabled(window_), (std::vector<bool>{true, false, false, false, true}));
  Click(window_, "recordButton");
  mic_.Feed(24000, 333);  // 1.5 s in chunks that split samples
  EXPECT_EQ(Enabled(window_), (std::vector<bool>{false, true, false, false, true}));
  EXPECT_EQ(window_.findChild<QLabel*>("timeLabel")->text(), "0:01");
  EXPECT_EQ(window_.findChild<QProgressBar*>("levelBar")->value(), 80);
  Click(window_, "stopButton");
  EXPECT_EQ(Enabled(window_), (std::vector<bool>{true, false, true, true, true}));
  EXPECT_FALSE(QFile::exists(target_));
  Click(window_, "saveButton");
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(window_.ExitCode(), kExitSaved);
  EXPECT_EQ(FileBytes(target_), EncodeWav({.SampleRate = 16000, .Channels = 1}, mic_.fed_));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"strand i juli.wav"});
}

TEST_F(RecorderWindowTest, ClosingWhileRecordingEndsWithTwoAndLeavesTheFile) {
  QFile older(target_);
  ASSERT_TRUE(older.open(QIODevice::WriteOnly));
  older.write("older");
  older.close();
  window_.show();
  Click(window_, "recordButton");
  mic_.Feed(1600);
  window_.close();
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(window_.ExitCode(), kExitNotSaved);
  EXPECT_EQ(FileBytes(target_), (std::vector<std::uint8_t>{'o', 'l', 'd', 'e', 'r'}));
}

TEST(RecorderWindow, WithoutMicrophoneSaysSoAndCanOnlyBeCancelled) {
  Recorder recorder(nullptr, nullptr, "/tmp/x.wav");
  RecorderWindow window(recorder);
  window.show();
  EXPECT_EQ(window.findChild<QLabel*>("statusLabel")->text(), QString::fromUtf8(kNoMicrophoneText));
  EXPECT_FALSE(window.findChild<QProgressBar*>("levelBar")->isVisible());
  EXPECT_EQ(Enabled(window), (std::vector<bool>{false, false, false, false, true}));
  Click(window, "cancelButton");
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
