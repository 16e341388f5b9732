// sndrec32.exe: records a voice comment from a microphone into the WAV file
// named on the command line. Exit code 0 when saved or skipped, 2 otherwise.

#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QFileInfo>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/language.h"
#include "app/messages.h"
#include "platform/display.h"
#include "resources/string_table.h"
#include "tools/sndrec32/qt/microphones.h"
#include "tools/sndrec32/qt/qt_audio.h"
#include "tools/sndrec32/qt/recorder_window.h"
#include "tools/sndrec32/recorder.h"
#include "tools/sndrec32/recorder_view.h"

namespace {

// Runs the window for `target` and returns its exit code, with every audio
// device stopped and its Qt object handed to deleteLater.
int RecordInto(const std::string& target) {
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

}  // namespace

int main(int argc, char** argv) {
  UseUsersLanguage();
  // Checked before Qt starts, so a wrong call is told so even without a display.
  if (argc != 2 || argv[1][0] == '\0') {
    std::fputs(StringTableText(kTextRecorderUsage).data(), stderr);
    return kExitNotSaved;
  }
  // Qt would abort without a display; the album run then reads a failed take.
  if (const std::string_view missing = MissingDisplayVariable(); !missing.empty()) {
    std::fputs(FormatMessage(LoadText(kTextRecorderNoDisplay), missing).c_str(), stderr);
    return kExitNotSaved;
  }
  const std::string target =
      QFile::encodeName(QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath()).toStdString();

  int exitCode = kExitNotSaved;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sndrec32"));
    exitCode = RecordInto(target);
    // A device stopped on the way out is deleted later: now, while the
    // sound server connection is still there to close its stream.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Qt Multimedia 6.4 closes that connection in a static destructor without
  // the lock its own sound thread holds; that race aborts in libpulse
  // ("io_events_please_scan"), after the take is saved, when the machine is
  // busy. Everything of ours is closed and the file written: end here.
#if defined(__SANITIZE_ADDRESS__)
  __lsan_do_leak_check();  // exit's own check goes with the rest
#endif
  EndProcessNow(exitCode);
}
