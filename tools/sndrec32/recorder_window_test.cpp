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

void Click(const RecorderWindow& window, const char* name) {
  QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
}

// Closing drops the take with code 2; Hoppa över (Enter on it here) drops it
// with code 0, so the run goes on. Neither touches the file.
TEST(RecorderWindow, ClosingOrSkippingLeavesTheFile) {
  QTemporaryDir dir;
  const QString target = dir.filePath("strand i juli.wav");
  QFile older(target);
  ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
  older.close();
  for (const bool skip : {false, true}) {
    ToneInput mic;
    Recorder recorder(&mic, nullptr, target.toStdString());
    RecorderWindow window(recorder);
    window.show();
    Click(window, "recordButton");
    mic.Feed(1600);
    EXPECT_EQ(window.findChild<QProgressBar*>("levelBar")->value(), 80);
    if (skip) {
      window.findChild<QPushButton*>("skipButton")->setFocus();
      QTest::keyClick(&window, Qt::Key_Return);
    } else {
      window.close();
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(mic.running_);
    EXPECT_EQ(window.ExitCode(), skip ? kExitSaved : kExitNotSaved);
    EXPECT_EQ(FileBytes(target), (std::vector<std::uint8_t>{'o', 'l', 'd', 'e', 'r'}));
  }
}

TEST(RecorderWindow, WithoutMicrophoneSaysSoAndCanOnlyBeCancelled) {
  Recorder recorder(nullptr, nullptr, "/tmp/x.wav");
  RecorderWindow window(recorder);
  window.show();
  EXPECT_EQ(window.findChild<QLabel*>("statusLabel")->text(), QString::fromUtf8(kNoMicrophoneText));
  EXPECT_FALSE(window.findChild<QProgressBar*>("levelBar")->isVisible());
  EXPECT_FALSE(window.findChild<QPushButton*>("recordButton")->isEnabled());
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
