#pragma once

#include <string>

#include "album/picture_size.h"
#include "tools/sndrec32/recorder.h"

/// Exit codes: the take was saved or the user skipped this file; anything
/// else (cancel, close, failure).
inline constexpr int kExitSaved = 0;
inline constexpr int kExitNotSaved = 2;

/// The window's title for the take's file `path`: "Spela in ljud – NAME.wav"
/// (the texts in the texts' language).
std::string RecorderTitle(const std::string& path);
/// The window's first line: "Ljudfil: " and the whole path.
std::string RecorderFileLine(const std::string& path);

/// What screen readers call the picture `name` (its file name).
std::string PictureAccessibleName(const std::string& name);

/// How a recorder window ended.
enum class RecorderEnd { Saved, Skipped, Closed };

/// The program's exit code for `end`: Hoppa över lets the run go on as a save does.
int ExitCodeOf(RecorderEnd end);

/// The window's buttons, in the order they stand.
enum class RecorderButton { Record, Stop, Play, Save, Skip, Cancel };

/// Whether `button` may be pressed now; Hoppa över goes with Avbryt.
bool Allowed(const RecorderButtons& allowed, RecorderButton button);

/// What the window shows of the recorder now, whatever toolkit draws it.
struct RecorderLook {
  RecorderButtons Buttons;
  bool MicrophoneEnabled = false;  ///< Not while recording or playing.
  bool MeterShown = false;         ///< The time and level; not without a microphone.
  bool StatusBold = false;         ///< The one thing to read when nothing else can be done.
  std::string Time;                ///< "m:ss"
  int LevelPercent = 0;
};

RecorderLook LookOf(const Recorder& recorder);

/// The button to focus after a change of state: the likely next step, so Space
/// or Enter goes on from there and a button just disabled leaves the focus somewhere.
RecorderButton NextStep(const RecorderButtons& allowed);

/// "m:ss" for a length in seconds, rounded down.
std::string FormatDuration(double seconds);

/// How often the level follows the output while playing.
inline constexpr int kPlaybackMeterMs = 50;

/// The picture's area at most, in logical pixels.
inline constexpr PictureSize kPictureBox{480, 360};
/// Smaller than this, a picture tells too little to be worth its room.
inline constexpr int kSmallestPicture = 96;

/// The picture's box on a screen of `screen` (its work area) when the rest of
/// the window, title bar and borders included, needs `rest` beside and below
/// the picture. Width or height 0 when no picture is worth showing.
PictureSize PictureBoxOn(PictureSize screen, PictureSize rest);
