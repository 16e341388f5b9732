#include "tools/sndrec32/recorder.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/picture_files.h"
#include "tests/qt_test_support.h"
#include "tests/test_support.h"
#include "tools/sndrec32/qt/microphones.h"
#include "tools/sndrec32/qt/recorder_window.h"
#include "tools/sndrec32/wav_file.h"

// The recorder, its window and its WAV files. Real sound, playback of the
// whole take, the sound server going away and the keys are tested in
// tests/real_sound_test.sh; here what it cannot reach.
namespace {

using ByteVector = std::vector<std::uint8_t>;

// A 16 kHz microphone of distinct samples peaking at 80 % of full scale.
class ToneInput : public AudioInput {
 public:
  PcmFormat Format() const override { return {.SampleRate = 16000, .Channels = 1}; }
  bool Start(Callbacks callbacks) override {
    callbacks_ = std::move(callbacks);
    return running_ = !refuseStart_;
  }
  void Stop() override { running_ = false; }
  void Feed(std::size_t count, int quieter = 1) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = fed_.size() / 2; i < fed_.size() / 2 + count; ++i) {
      const std::size_t s = (i % 2 == 0 ? 26214 : i % 26214) / quieter;
      bytes.insert(bytes.end(), {std::uint8_t(s & 0xFF), std::uint8_t(s >> 8)});
    }
    fed_.insert(fed_.end(), bytes.begin(), bytes.end());
    if (running_) {
      callbacks_.Data(bytes);
    }
  }

  std::vector<std::uint8_t> fed_;  ///< Every byte handed over, across takes.
  bool running_ = false;
  bool refuseStart_ = false;
  Callbacks callbacks_;
};

class FakeOutput : public AudioOutput {
 public:
  bool Play(const PcmFormat&, std::span<const std::uint8_t>,
            std::function<void(bool)> finished) override {
    finished_ = std::move(finished);
    return !refusePlay_;
  }
  void Stop() override { ++stops_; }
  std::size_t PlayedBytes() const override { return played_; }

  std::function<void(bool)> finished_;
  std::size_t played_ = 0;
  bool refusePlay_ = false;
  int stops_ = 0;
};

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

TEST_F(RecorderTest, OnlyTheLastTakeIsKeptThroughFailures) {
  EXPECT_FALSE(recorder_.Save());  // no take yet
  RecordTake(recorder_, 4000);
  RecordTake(recorder_, 800);
  const std::vector<std::uint8_t> last(mic_.fed_.end() - 1600, mic_.fed_.end());
  EXPECT_EQ(recorder_.Take(), last);
  mic_.refuseStart_ = true;
  recorder_.Record();
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextMicrophoneNotStarted));
  mic_.refuseStart_ = false;
  recorder_.Record();
  mic_.callbacks_.Failed("unplugged");  // before any sound: the earlier take stays
  EXPECT_EQ(recorder_.Take(), last);
  recorder_.Record();
  mic_.Feed(1600);
  mic_.callbacks_.Failed("unplugged");
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextMicrophoneStopped));
  EXPECT_EQ(recorder_.Take().size(), 3200u);

  Recorder limited(&mic_, &speaker_, target_.toStdString(), /*maxSeconds=*/1);
  limited.Record();
  mic_.Feed(20000);
  EXPECT_EQ(limited.Message(), RecorderText(kTextTakeTooLong));
  EXPECT_FALSE(mic_.running_);
  EXPECT_EQ(limited.Take().size(), 32000u);
}

TEST_F(RecorderTest, PlaybackThatBreaksOrCannotStartIsTold) {
  RecordTake(recorder_, 1600);
  recorder_.Play();
  EXPECT_EQ(recorder_.Level(), 0.0);
  speaker_.played_ = 3200;
  EXPECT_NEAR(recorder_.Level(), 0.8, 0.01);  // the meter follows what is heard
  speaker_.finished_(false);
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextSpeakerStopped));
  recorder_.Play();
  recorder_.Stop();
  EXPECT_EQ(speaker_.stops_, 1);
  speaker_.refusePlay_ = true;
  recorder_.Play();
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextCannotPlay));
}

// Below -45 dBFS a take heard nothing; a quiet end after sound is no silence.
TEST_F(RecorderTest, ATakeThatHeardNothingSaysSoAndCanStillBeSaved) {
  recorder_.Record();
  mic_.Feed(1600, 150);
  recorder_.Stop();
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextSilent));
  EXPECT_TRUE(recorder_.Save());
  recorder_.Record();
  mic_.Feed(800, 100);
  mic_.Feed(3200, 150);
  recorder_.Stop();
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextRecorded));
}

TEST_F(RecorderTest, AnUnusableMicrophoneKeepsTheTake) {
  RecordTake(recorder_, 1600);
  EXPECT_TRUE(recorder_.SetInput(nullptr));
  EXPECT_EQ(recorder_.Message(), RecorderText(kTextMicrophoneUnusable));
  EXPECT_EQ(recorder_.Buttons(), (RecorderButtons{.Play = true, .Save = true, .Cancel = true}));
  EXPECT_TRUE(recorder_.SetInput(&mic_));
  recorder_.Record();
  EXPECT_FALSE(recorder_.SetInput(nullptr));  // not while recording
}

// Saves with files stopping at 1 KiB, as on a full disk.
bool SaveOnFullDisk(Recorder& recorder) {
  std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the tests
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const rlimit full{1024, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &full);
  const bool saved = recorder.Save();
  setrlimit(RLIMIT_FSIZE, &old);
  return saved;
}

// A link at the target is replaced, never written through; a failed save
// says why and leaves the file as it was.
TEST_F(RecorderTest, ASaveReplacesTheTargetWholeOrSaysWhyAndCanBeRetried) {
  const std::string saved = dir_.filePath("gone/beach.wav").toStdString();
  Recorder recorder(&mic_, &speaker_, saved);
  RecordTake(recorder, 1600);
  EXPECT_FALSE(recorder.Save());
  EXPECT_EQ(recorder.Message(), "Ljudfilen kunde inte sparas: sökvägen finns inte.");
  EXPECT_TRUE(recorder.Buttons().Save);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("gone"));
  std::ofstream(target_.toStdString()) << "older";
  std::filesystem::create_symlink(target_.toStdString(), saved);
  EXPECT_TRUE(recorder.Save());
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(saved)));
  const ByteVector wav = EncodeWav(mic_.Format(), recorder.Take());
  EXPECT_EQ(ReadFileBytes(saved), std::string(wav.begin(), wav.end()));
  EXPECT_EQ(ReadFileBytes(target_.toStdString()), "older");

  RecordTake(recorder, 800);
  EXPECT_FALSE(SaveOnFullDisk(recorder));
  EXPECT_EQ(recorder.Message(), "Ljudfilen kunde inte sparas: disken är full.");
  EXPECT_EQ(ReadFileBytes(saved), std::string(wav.begin(), wav.end()));
}

// Closing drops the take with code 2; Hoppa över (Enter on it here) drops it
// with code 0, so the run goes on. Neither touches the file.
TEST_F(RecorderTest, ClosingOrSkippingTheWindowLeavesTheFile) {
  QFile older(target_);
  ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
  older.close();
  for (const bool skip : {false, true}) {
    RecorderWindow window(recorder_);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("recordButton"), Qt::LeftButton);
    mic_.Feed(1600);
    EXPECT_EQ(window.findChild<QProgressBar*>("levelBar")->value(), 80);
    if (skip) {
      window.findChild<QPushButton*>("skipButton")->setFocus();
      QTest::keyClick(&window, Qt::Key_Return);
    } else {
      window.close();
    }
    EXPECT_FALSE(window.isVisible() || mic_.running_);
    EXPECT_EQ(window.ExitCode(), skip ? kExitSaved : kExitNotSaved);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older");
    older.close();
  }
}

TEST(RecorderWindow, WithoutMicrophoneSaysSoAndCanOnlyBeCancelled) {
  Recorder recorder(nullptr, nullptr, "/tmp/x.wav");
  RecorderWindow window(recorder);
  window.show();
  EXPECT_EQ(window.findChild<QLabel*>("statusLabel")->text(),
            QString::fromUtf8(RecorderText(kTextNoMicrophone)));
  EXPECT_FALSE(window.findChild<QProgressBar*>("levelBar")->isVisible());
  EXPECT_FALSE(window.findChild<QPushButton*>("recordButton")->isEnabled());
  QTest::mouseClick(window.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ExitCode(), kExitNotSaved);
}

// A JPEG of 40 by 30 pixels, its left half red and its right half blue.
std::string RedBlueJpeg() {
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QPainter(&image).fillRect(0, 0, 20, 30, Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  return bytes.toStdString();
}

// The picture beside the sound file shows upright, by the orientation the
// album reads; none is shown, nor waited for, where it cannot be.
TEST(RecorderWindow, ShowsThePictureBesideTheSoundUpright) {
  const std::string jpeg = RedBlueJpeg();
  const std::string exif6(
      "Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 30);
  // 4 by 3 pixels: the left half red and the right half blue, then all green.
  const std::string gif(
      "\x47\x49\x46\x38\x39\x61\x04\x00\x03\x00\x81\x00\x00\xFF\x00\x00\x00\x00\xFF\x00"
      "\xFF\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x04\x00\x03\x00\x00\x02\x08\x04\x98\x10"
      "\x60\x42\x80\x49\x01\x00\x2C\x00\x00\x00\x00\x04\x00\x03\x00\x00\x02\x08\x94\x28"
      "\x51\xA2\x44\x89\x52\x01\x00\x3B",
      68);
  const struct {
    const char* name;
    std::string bytes;
    QSize upright;  // empty: none shown
  } cases[] = {
      {"Beach.JPG", jpeg, {4, 3}},
      {"Beach.jpg", "\xFF\xD8" + JpegSegment(0xE1, exif6) + jpeg.substr(2), {3, 4}},
      {"Beach.gif", gif, {4, 3}},
      {"beach.jpg", jpeg, {}},
      {"Beach.jpg", "no picture", {}},
      {"Beach.jpg", JpegBytes(40, 30), {}},  // a header only: its room goes again
      {"Beach.gif", "GIF89a\x88\x13\x88\x13" + gif.substr(10), {}},  // 5000 by 5000: too large
      {"Beach.jpg", "", {}},                                         // a FIFO, never opened
  };
  alarm(20);  // a FIFO opened would wait for a writer
  QLoggingCategory::setFilterRules("qt.gui.imageio.jpeg.warning=false");  // "missing SOS marker"
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + (": " + c.bytes.substr(0, 12)));
    TempDir dir;
    const std::string path = dir.path() + "/" + c.name;
    if (c.bytes.empty()) {
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else {
      std::ofstream(path, std::ios::binary) << c.bytes;
    }
    Recorder recorder(nullptr, nullptr, dir.path() + "/Beach.wav");
    RecorderWindow window(recorder);
    auto* picture = window.findChild<QLabel*>("picture");
    if (c.upright.isEmpty()) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return picture->isHidden(); }, 5000));
      continue;
    }
    EXPECT_EQ(window.findChild<QLabel*>("pictureName")->text(), c.name);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picture->pixmap().isNull(); }, 5000));
    const QImage shown = picture->pixmap().toImage();
    EXPECT_EQ(shown.size(), c.upright.scaled(shown.size(), Qt::KeepAspectRatio));
    const auto redAt = [&](int x, int y) {
      return shown.pixelColor(x, y).red() > shown.pixelColor(x, y).blue();
    };
    EXPECT_TRUE(redAt(shown.width() / 4, shown.height() / 4));
    EXPECT_FALSE(redAt(shown.width() * 3 / 4, shown.height() * 3 / 4));
  }
  alarm(0);
}

// Names are data: markup in a folder's or a picture's name shows as the
// characters it is, not as a picture and red letters.
TEST(RecorderWindow, ShowsNamesAsTheyAre) {
  TempDir dir;
  const std::string folder = dir.MakeFolder("<img src=x.png><font color=red size=6>Fake");
  std::ofstream(folder + "/<font color=red>Röd.jpg", std::ios::binary) << RedBlueJpeg();
  Recorder recorder(nullptr, nullptr, folder + "/<font color=red>Röd.wav");
  RecorderWindow window(recorder);
  for (const auto& [name, text] :
       {std::pair{"fileLabel", "Ljudfil: " + folder + "/<font color=red>Röd.wav"},
        std::pair{"pictureName", std::string("<font color=red>Röd.jpg")}}) {
    SCOPED_TRACE(name);
    auto* label = window.findChild<QLabel*>(name);
    EXPECT_EQ(label->text().toStdString(), text);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name).toStdString(),
              text);
  }
  EXPECT_EQ(window.findChild<QLabel*>("picture")->accessibleName().toStdString(),
            "Bild: <font color=red>Röd.jpg");
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

// QSettings would open a FIFO and wait for a writer before the window shows.
TEST(Microphones, TheChoiceIsKeptInItsOwnFileOnlyWhenThatIsARegularFile) {
  TempDir config;
  ScopedEnv home("XDG_CONFIG_HOME", config.path());
  const std::string file = config.MakeFolder("Tamsell") + "/sndrec32.conf";
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
  // The alarm ends a child that waits on the FIFO.
  EXPECT_EXIT(
      {
        alarm(10);
        RememberMicrophone(QAudioDevice());
        std::_Exit(0);
      },
      testing::ExitedWithCode(0), "^sndrec32: Inställningarna läses inte: " + file);
  EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(file)));
  std::filesystem::remove(file);
  RememberMicrophone(QAudioDevice());
  EXPECT_EQ(ReadFileBytes(file), "[General]\nmicrophone=\n");
}

TEST(EncodeWav, WritesTheCanonicalPcmHeaderOfWholeFramesOrNothing) {
  const ByteVector expected = {
      'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W',  'A',  'V',  'E',  // RIFF size 36 + 4
      'f',  'm',  't', ' ', 16,   0,    0, 0, 1,    0,    1,    0,    // PCM, one channel
      0x80, 0x3E, 0,   0,   0x00, 0x7D, 0, 0, 2,    0,    16,   0,    // 16000 Hz, 32000 B/s
      'd',  'a',  't', 'a', 4,    0,    0, 0, 0x01, 0x02, 0xFF, 0x7F};
  EXPECT_EQ(EncodeWav({.SampleRate = 16000, .Channels = 1}, ByteVector{1, 2, 255, 127, 9}),
            expected);
  EXPECT_EQ(EncodeWav({.SampleRate = 8000, .Channels = 2}, ByteVector{1, 2, 3}).size(),
            kWavHeaderSize);
  // Formats it cannot describe give nothing.
  for (const PcmFormat& format : {PcmFormat{16000, 0, 16}, {0, 1, 16}, {16000, 1, 12}}) {
    EXPECT_TRUE(EncodeWav(format, ByteVector(8, 0)).empty());
  }
  EXPECT_FALSE(IsWritableFormat({0xFFFFFFFF, 2, 16}));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InstallStrictQtMessageHandler();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
