#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "resources/string_table.h"
#include "tools/sndrec32/audio_io.h"

enum class RecorderState { Idle, Recording, Recorded, Playing, NoDevice };

/// Which of the window's buttons may be pressed.
struct RecorderButtons {
  bool Record = false;
  bool Stop = false;
  bool Play = false;
  bool Save = false;
  bool Cancel = false;
  bool operator==(const RecorderButtons&) const = default;
};

/// The buttons allowed in `state`; Play also needs somewhere to play (`canPlay`).
RecorderButtons ButtonsFor(RecorderState state, bool canPlay);

/// A text the recorder shows the user, in the texts' language (a whole
/// text of the catalog: NUL-terminated).
inline const char* RecorderText(int id) {
  return StringTableText(id).data();
}

/// A take stops by itself after this long, which keeps memory and file size sane.
inline constexpr int kMaxRecordingSeconds = 30 * 60;

/// A take whose loudest sample stays below this (about -45 dBFS, of 32768)
/// heard nothing: a muted or unplugged microphone, not a quiet voice.
inline constexpr int kSilentPeak = 184;

/// One recording session for one target file: record, listen, record again,
/// and finally save or cancel. Actions whose button is disabled do nothing.
class Recorder {
 public:
  /// `input` null means there is no usable microphone; `output` null means the take
  /// cannot be played back. Both must outlive the recorder. A take stops by
  /// itself after `maxSeconds`.
  Recorder(AudioInput* input, AudioOutput* output, std::string targetPath,
           int maxSeconds = kMaxRecordingSeconds);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  RecorderState State() const { return state_; }
  RecorderButtons Buttons() const;
  /// What to tell the user now.
  const std::string& Message() const { return message_; }
  /// Length of the take so far, in seconds.
  double Seconds() const;
  /// Peak loudness of the last moment recorded or heard, 0 to 1.
  double Level() const;
  const std::vector<std::uint8_t>& Take() const { return take_; }
  const std::string& TargetPath() const { return targetPath_; }

  /// Runs after every change of state, message, length or level.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  /// Records from `input` from now on (null: none usable). Refused, with
  /// false, while recording or playing.
  bool SetInput(AudioInput* input);
  /// Starts a new take, dropping the previous one once the microphone
  /// delivers sound; until then a failure or stop keeps the previous one.
  void Record();
  /// Ends recording or playing. A take that heard nothing says so.
  void Stop();
  void Play();
  /// Writes the take to the target file as a WAV file. True when it is saved;
  /// otherwise the file is untouched and Message() says why.
  bool Save();
  /// Stops everything and drops the take; the target file is untouched.
  void Cancel();

 private:
  void OnData(std::span<const std::uint8_t> data);
  void OnInputFailed();
  void OnPlayFinished(bool played);
  void FinishTake(const char* message);
  void RestorePreviousTake();
  void Enter(RecorderState state, std::string message);
  void Changed();

  AudioInput* input_;
  AudioOutput* output_;
  std::string targetPath_;
  int maxSeconds_;
  RecorderState state_;
  std::string message_;
  std::vector<std::uint8_t> take_;
  PcmFormat format_;
  std::vector<std::uint8_t> previous_;  ///< The take before, while a new one has no sound yet.
  PcmFormat previousFormat_;
  double level_ = 0.0;
  int takePeak_ = 0;  ///< The loudest sample of the take so far.
  std::function<void()> onChange_;
};
