// sndrec32.exe for Windows: records a voice comment from a microphone into
// the WAV file named on the command line. Exit code 0 when saved or skipped,
// 2 otherwise.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/language.h"
#include "platform/file_system.h"
#include "platform/program_entry.h"
#include "resources/string_table.h"
#include "tools/sndrec32/recorder.h"
#include "tools/sndrec32/recorder_view.h"
#include "tools/sndrec32/win32/microphones.h"
#include "tools/sndrec32/win32/recorder_dialog.h"
#include "tools/sndrec32/win32/wave_audio.h"

namespace {

int RecordInto(const std::string& target) {
  const Microphones microphones = FindMicrophones();
  std::unique_ptr<AudioInput> input =
      microphones.Chosen >= 0 ? OpenInput(static_cast<UINT>(microphones.Chosen)) : nullptr;
  const std::unique_ptr<AudioOutput> output =
      waveOutGetNumDevs() > 0 ? std::make_unique<WaveOutput>() : nullptr;
  Recorder recorder(input.get(), output.get(), target);
  if (!input && microphones.Chosen >= 0) {
    recorder.SetInput(nullptr);  // says that this one failed; the user may pick another
  }
  RecorderDialog window(recorder);
  window.SetMicrophones(microphones.Names, microphones.Chosen, [&](int index) {
    std::unique_ptr<AudioInput> next = OpenInput(static_cast<UINT>(index));
    if (recorder.SetInput(next.get())) {
      input = std::move(next);
      RememberMicrophone(microphones.Names[index]);
    }
  });
  return window.Run();
}

}  // namespace

int ProgramMain(const std::vector<std::string>& arguments) {
  UseUsersLanguage();
  if (arguments.size() != 1 || arguments[0].empty()) {
    std::fputs(StringTableText(kTextRecorderUsage).data(), stderr);
    return kExitNotSaved;
  }
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  return RecordInto(AbsolutePath(arguments[0]));
}
