// Times the sound recorder's window until the picture beside the sound file
// is on screen, for a 24-megapixel JPEG made here. Every round is a process of
// its own, as every recording is, so the image plugin loads each time.
//
// usage: recorder_picture [ROUNDS]          (default: 10 rounds)
//        recorder_picture --round SOUND.wav (one window; prints its times)

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tools/sndrec32/qt/recorder_window.h"
#include "tools/sndrec32/recorder.h"

namespace {

// A camera's 6000 by 4000: smooth areas with some grain, so that the file is
// about as large and as slow to decode as a photograph.
bool MakePhotograph(const QString& path) {
  QImage image(6000, 4000, QImage::Format_RGB32);
  QRandomGenerator grain(24);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int noise = static_cast<int>(grain.bounded(24));
      line[x] = qRgb((x / 24 + noise) & 0xFF, (y / 16 + noise) & 0xFF, ((x + y) / 40) & 0xFF);
    }
  }
  return image.save(path, "JPG", 90);
}

// Notes when the window and then the picture are painted, and ends the round.
class Stopwatch : public QObject {
 public:
  Stopwatch(QWidget* window, QLabel* picture) : window_(window), picture_(picture) {
    window_->installEventFilter(this);
    picture_->installEventFilter(this);
    clock_.start();
  }
  qint64 windowMs_ = -1;
  qint64 pictureMs_ = -1;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::Paint) {
      return false;
    }
    if (object == window_ && windowMs_ < 0) {
      windowMs_ = clock_.elapsed();
    } else if (object == picture_ && pictureMs_ < 0 && !picture_->pixmap().isNull()) {
      pictureMs_ = clock_.elapsed();
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
  }

 private:
  QWidget* window_;
  QLabel* picture_;
  QElapsedTimer clock_;
};

int OneRound(int argc, char** argv) {
  QApplication app(argc, argv);
  Recorder recorder(nullptr, nullptr, argv[2]);  // no sound devices: only the window
  QElapsedTimer built;
  built.start();
  RecorderWindow window(recorder);
  Stopwatch stopwatch(&window, window.findChild<QLabel*>("picture"));
  const qint64 constructedMs = built.elapsed();
  window.show();
  QTimer::singleShot(10000, &app, &QCoreApplication::quit);
  app.exec();
  std::printf("%lld %lld %lld\n", static_cast<long long>(constructedMs),
              static_cast<long long>(stopwatch.windowMs_),
              static_cast<long long>(stopwatch.pictureMs_));
  return stopwatch.pictureMs_ >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && QByteArray(argv[1]) == "--round") {
    return OneRound(argc, argv);
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  QTemporaryDir dir;
  if (!MakePhotograph(dir.filePath("Bild.jpg"))) {
    std::fprintf(stderr, "the picture could not be made in %s\n", qPrintable(dir.path()));
    return 2;
  }
  std::printf("24 MP JPEG: %lld bytes; ms: window built, window painted, picture painted\n",
              static_cast<long long>(QFileInfo(dir.filePath("Bild.jpg")).size()));
  std::vector<long long> gaps;
  for (int round = 0; round < rounds; ++round) {
    QProcess child;
    child.start(QString::fromLocal8Bit(argv[0]), {"--round", dir.filePath("Bild.wav")});
    long long built = 0, window = 0, picture = 0;
    if (!child.waitForFinished(20000) || child.exitCode() != 0 ||
        std::sscanf(child.readAllStandardOutput().constData(), "%lld %lld %lld", &built, &window,
                    &picture) != 3) {
      std::fprintf(stderr, "round %d: no picture on screen\n", round + 1);
      return 1;
    }
    std::printf("round %d: %lld %lld %lld (picture %lld ms after the window)\n", round + 1, built,
                window, picture, picture - window);
    gaps.push_back(picture - window);
  }
  std::sort(gaps.begin(), gaps.end());
  std::printf("picture after the window: median %lld ms, worst %lld ms\n", gaps[gaps.size() / 2],
              gaps.back());
  return 0;
}
