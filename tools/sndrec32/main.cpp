// sndrec32.exe: records a voice comment from a microphone into the WAV file
// named on the command line. Exit code 0 when saved or skipped, 2 otherwise.

#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QFileInfo>

#include "tools/sndrec32/microphones.h"
#include "tools/sndrec32/qt_audio.h"
#include "tools/sndrec32/recorder.h"
#include "tools/sndrec32/recorder_window.h"

int main(int argc, char** argv) {
  // Checked before Qt starts, so a wrong call is told so even without a display.
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr,
                 "Användning: sndrec32.exe LJUDFIL.wav\n"
                 "Spelar in från mikrofonen till LJUDFIL.wav (hela sökvägen).\n"
                 "Slutkod 0 när ljudet sparats, annars 2.\n");
    return kExitNotSaved;
  }
  const std::string target =
      QFile::encodeName(QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath()).toStdString();

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("sndrec32"));

  const Microphones microphones = FindMicrophones();
  std::unique_ptr<AudioInput> input =
      microphones.Chosen >= 0 ? OpenInput(microphones.Devices[microphones.Chosen]) : nullptr;
  const std::unique_ptr<AudioOutput> output = OpenDefaultOutput();
  Recorder recorder(input.get(), output.get(), target);
  if (!input && microphones.Chosen >= 0) {
    recorder.SetInput(nullptr);  // says that this one failed; the user may pick another
  }
  RecorderWindow window(recorder);
  QStringList names;
  for (const QAudioDevice& device : microphones.Devices) {
    names << device.description();
  }
  window.SetMicrophones(names, microphones.Chosen, [&](int index) {
    const QAudioDevice& device = microphones.Devices[index];
    std::unique_ptr<AudioInput> next = OpenInput(device);
    if (recorder.SetInput(next.get())) {
      input = std::move(next);
      RememberMicrophone(device);
    }
  });
  window.exec();
  return window.ExitCode();
}
