#include "tools/sndrec32/recorder_view.h"

#include <algorithm>
#include <cstdio>

#include "app/messages.h"
#include "platform/path_syntax.h"
#include "resources/string_table.h"

std::string RecorderTitle(const std::string& path) {
  const std::size_t slash = path.find_last_of(kPathSeparators);
  return FormatText(LoadText(kTextRecorderTitle),
                    {slash == std::string::npos ? path : path.substr(slash + 1)});
}

std::string RecorderFileLine(const std::string& path) {
  return FormatText(LoadText(kTextRecorderFile), {path});
}

std::string PictureAccessibleName(const std::string& name) {
  return FormatText(LoadText(kTextRecorderPicture), {name});
}

int ExitCodeOf(RecorderEnd end) {
  return end == RecorderEnd::Closed ? kExitNotSaved : kExitSaved;
}

bool Allowed(const RecorderButtons& allowed, RecorderButton button) {
  switch (button) {
    case RecorderButton::Record:
      return allowed.Record;
    case RecorderButton::Stop:
      return allowed.Stop;
    case RecorderButton::Play:
      return allowed.Play;
    case RecorderButton::Save:
      return allowed.Save;
    case RecorderButton::Skip:
    case RecorderButton::Cancel:
      break;
  }
  return allowed.Cancel;
}

RecorderLook LookOf(const Recorder& recorder) {
  const RecorderState state = recorder.State();
  const bool noDevice = state == RecorderState::NoDevice;
  return {.Buttons = recorder.Buttons(),
          .MicrophoneEnabled = state != RecorderState::Recording && state != RecorderState::Playing,
          .MeterShown = !noDevice,
          .StatusBold = noDevice,
          .Time = FormatDuration(recorder.Seconds()),
          .LevelPercent = static_cast<int>(recorder.Level() * 100.0 + 0.5)};
}

RecorderButton NextStep(const RecorderButtons& allowed) {
  for (const RecorderButton button :
       {RecorderButton::Stop, RecorderButton::Play, RecorderButton::Save, RecorderButton::Record}) {
    if (Allowed(allowed, button)) {
      return button;
    }
  }
  return RecorderButton::Cancel;
}

std::string FormatDuration(double seconds) {
  const int whole = seconds > 0 ? static_cast<int>(seconds) : 0;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
  return text;
}

PictureSize PictureBoxOn(PictureSize screen, PictureSize rest) {
  PictureSize box{std::min(kPictureBox.Width, screen.Width - rest.Width),
                  std::min(kPictureBox.Height, screen.Height - rest.Height)};
  if (std::min(box.Width, box.Height) < kSmallestPicture) {
    return {};
  }
  return box;
}
