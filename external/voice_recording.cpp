#include "external/voice_recording.h"

#include <optional>

#include "app/files.h"
#include "app/messages.h"
#include "app/path_part.h"
#include "app/window_services.h"
#include "external/program_runner.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/interrupt.h"
#include "resources/string_table.h"

namespace {

// The sound file beside the page, when the record mode asks for a take of it.
std::optional<std::string> SoundToRecord(RecordMode mode, const std::string& pagePath) {
  if (mode != RecordWhenMissing && mode != RecordAlways) {
    return std::nullopt;
  }
  // The picture's whole name: a '"' in it is part of it, and of its page's link.
  std::string soundPath = PathWithoutExtension(pagePath) + ".wav";
  // A folder of that name counts as present too.
  if (mode == RecordWhenMissing && FileExists(soundPath)) {
    return std::nullopt;
  }
  return soundPath;
}

// An empty sound this call put there for a recording that did not happen goes
// again, so the next run asks for the comment; a take the recorder saved stays.
void RemovePlaceholder(const RunState& run, const std::string& soundPath, bool placed) {
  if (placed && RegularFilesEqual(soundPath, run.Paths.EmptySound)) {
    RemoveFile(soundPath);
  }
}

}  // namespace

bool RecordSound(const RunState& run, const std::string& pagePath, const std::string& pictureName) {
  // The caller may pass a text that the path services below overwrite.
  const std::string name = pictureName;
  const std::optional<std::string> wanted = SoundToRecord(run.Settings.Recording, pagePath);
  if (!wanted) {
    return true;
  }
  const std::string& soundPath = *wanted;
  // The empty sound goes only where there is no comment yet, so a missing
  // recorder or a cancel leaves a playable file and never costs a comment.
  const bool placed =
      !FileExists(soundPath) && CopyFileWhole(run.Paths.EmptySound, soundPath) == FileError::None;
  // A run ended at once (a second Ctrl+C) takes it away too.
  std::optional<RemovedOnSecondStop> undone;
  if (placed) {
    undone.emplace(soundPath, run.Paths.EmptySound);
  }

  std::string recorder = "sndrec32.exe";
  if (!FindOnPath(recorder)) {
    RemovePlaceholder(run, soundPath, placed);
    ShowError(run, LoadText(kTextNoRecorder), "", true);
    return false;
  }
  run.Windows->LogLine(FormatMessage(LoadText(kTextRecordingFor), name));
  // The sound file is handed on as one argument: blanks, quotes or shell
  // characters in its name reach the recorder intact and run nothing.
  const int failed =
      RunProgram({recorder, soundPath}, true, true, [&run] { return run.Windows->PollCancel(); });
  if (failed != 0) {
    RemovePlaceholder(run, soundPath, placed);
    return false;
  }
  run.Windows->ClearLastLine();
  return true;
}
