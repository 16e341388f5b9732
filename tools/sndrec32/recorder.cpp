#include "tools/sndrec32/recorder.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "app/messages.h"
#include "platform/file_replacement.h"

namespace {

// The take replaces the file whole: a link standing there is replaced, never
// followed, so no file elsewhere changes. Empty on success, else the reason.
std::string SaveWav(const std::string& path, const std::vector<std::uint8_t>& wav) {
  const FileError error = ReplaceFileWhole(
      path, std::string_view(reinterpret_cast<const char*>(wav.data()), wav.size()));
  return error == FileError::None ? std::string() : std::string(ReasonText(error));
}

// The loudest of the 16-bit samples in take[from, to); `from` is taken back
// to a sample's start, since a chunk may end inside one.
int PeakOf(const std::vector<std::uint8_t>& take, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from & ~std::size_t{1}; i + 1 < to; i += 2) {
    const auto sample = static_cast<std::int16_t>(take[i] | (take[i + 1] << 8));
    peak = std::max(peak, std::abs(static_cast<int>(sample)));
  }
  return peak;
}

// The level at `end`: the peak of the 50 ms before, steadier than one chunk,
// which may be tiny.
double LevelAt(const std::vector<std::uint8_t>& take, std::size_t end, const PcmFormat& format) {
  end = std::min(end, take.size());
  const std::size_t window = format.BytesPerSecond() / 20;
  return PeakOf(take, end > window ? end - window : 0, end) / 32768.0;
}

}  // namespace

RecorderButtons ButtonsFor(RecorderState state, bool canPlay) {
  switch (state) {
    case RecorderState::Idle:
      return {.Record = true, .Cancel = true};
    case RecorderState::Recording:
      return {.Stop = true, .Cancel = true};
    case RecorderState::Recorded:
      return {.Record = true, .Play = canPlay, .Save = true, .Cancel = true};
    case RecorderState::Playing:
      return {.Stop = true, .Cancel = true};
    case RecorderState::NoDevice:
      break;
  }
  return {.Cancel = true};
}

Recorder::Recorder(AudioInput* input, AudioOutput* output, std::string targetPath, int maxSeconds)
    : input_(input),
      output_(output),
      targetPath_(std::move(targetPath)),
      maxSeconds_(maxSeconds),
      state_(input ? RecorderState::Idle : RecorderState::NoDevice),
      message_(input ? RecorderText(kTextPressRecord) : RecorderText(kTextNoMicrophone)) {
  if (input_) {
    format_ = input_->Format();
  }
}

Recorder::~Recorder() {
  // The devices may call back until stopped; nobody is listening any more.
  onChange_ = nullptr;
  Cancel();
}

RecorderButtons Recorder::Buttons() const {
  RecorderButtons buttons = ButtonsFor(state_, output_ != nullptr);
  buttons.Record = buttons.Record && input_ != nullptr;
  return buttons;
}

double Recorder::Level() const {
  return state_ == RecorderState::Playing ? LevelAt(take_, output_->PlayedBytes(), format_)
                                          : level_;
}

bool Recorder::SetInput(AudioInput* input) {
  if (state_ == RecorderState::Recording || state_ == RecorderState::Playing) {
    return false;
  }
  input_ = input;
  if (!input_) {
    // An earlier take can still be played and saved.
    Enter(take_.empty() ? RecorderState::NoDevice : RecorderState::Recorded,
          RecorderText(kTextMicrophoneUnusable));
  } else if (state_ == RecorderState::NoDevice) {
    Enter(RecorderState::Idle, RecorderText(kTextPressRecord));
  }
  return true;
}

double Recorder::Seconds() const {
  return static_cast<double>(take_.size()) / format_.BytesPerSecond();
}

void Recorder::Record() {
  if (!Buttons().Record) {
    return;
  }
  const RecorderState before = state_;
  previous_.swap(take_);
  take_.clear();
  previousFormat_ = format_;
  format_ = input_->Format();
  level_ = 0.0;
  takePeak_ = 0;
  // Recording before Start, so samples a device hands over at once are kept.
  state_ = RecorderState::Recording;
  AudioInput::Callbacks callbacks;
  callbacks.Data = [this](std::span<const std::uint8_t> data) { OnData(data); };
  callbacks.Failed = [this](const std::string&) { OnInputFailed(); };
  if (!input_->Start(std::move(callbacks))) {
    RestorePreviousTake();
    Enter(before, RecorderText(kTextMicrophoneNotStarted));
    return;
  }
  if (state_ == RecorderState::Recording) {  // unless it failed already
    Enter(RecorderState::Recording, RecorderText(kTextRecording));
  }
}

void Recorder::Stop() {
  if (!Buttons().Stop) {
    return;
  }
  if (state_ == RecorderState::Playing) {
    state_ = RecorderState::Recorded;
    output_->Stop();
    Enter(RecorderState::Recorded, RecorderText(kTextRecorded));
    return;
  }
  input_->Stop();  // hands over what it still holds
  if (state_ == RecorderState::Recording) {
    FinishTake(nullptr);
  }
}

void Recorder::Play() {
  if (!Buttons().Play) {
    return;
  }
  state_ = RecorderState::Playing;
  if (!output_->Play(format_, take_, [this](bool played) { OnPlayFinished(played); })) {
    Enter(RecorderState::Recorded, RecorderText(kTextCannotPlay));
    return;
  }
  if (state_ == RecorderState::Playing) {  // unless it finished already
    Enter(RecorderState::Playing, RecorderText(kTextPlaying));
  }
}

bool Recorder::Save() {
  if (!Buttons().Save) {
    return false;
  }
  const std::vector<std::uint8_t> wav = EncodeWav(format_, take_);
  const std::string reason =
      wav.empty() ? LoadText(kTextSoundFormatUnsupported) : SaveWav(targetPath_, wav);
  if (!reason.empty()) {
    Enter(RecorderState::Recorded, FormatMessage(LoadText(kTextCannotSave), reason));
    return false;
  }
  return true;
}

void Recorder::Cancel() {
  const RecorderState before = state_;
  if (state_ != RecorderState::NoDevice) {
    state_ = RecorderState::Idle;
  }
  if (before == RecorderState::Recording) {
    input_->Stop();
  } else if (before == RecorderState::Playing) {
    output_->Stop();
  }
  take_.clear();
  previous_.clear();
  level_ = 0.0;
  Changed();
}

void Recorder::OnData(std::span<const std::uint8_t> data) {
  if (state_ != RecorderState::Recording) {
    return;
  }
  if (!previous_.empty()) {  // the microphone runs: the new take replaces the old
    previous_ = std::vector<std::uint8_t>();
  }
  const std::size_t before = take_.size();
  take_.insert(take_.end(), data.begin(), data.end());
  takePeak_ = std::max(takePeak_, PeakOf(take_, before, take_.size()));
  level_ = LevelAt(take_, take_.size(), format_);

  const std::size_t limit = static_cast<std::size_t>(maxSeconds_) * format_.BytesPerSecond();
  if (take_.size() >= limit) {
    take_.resize(limit);
    state_ = RecorderState::Recorded;  // what the device still holds is past the limit
    input_->Stop();
    FinishTake(RecorderText(kTextTakeTooLong));
    return;
  }
  Changed();
}

void Recorder::OnInputFailed() {
  if (state_ != RecorderState::Recording) {
    return;
  }
  state_ = RecorderState::Recorded;
  input_->Stop();
  FinishTake(RecorderText(kTextMicrophoneStopped));
}

void Recorder::OnPlayFinished(bool played) {
  if (state_ == RecorderState::Playing) {
    Enter(RecorderState::Recorded,
          played ? RecorderText(kTextRecorded) : RecorderText(kTextSpeakerStopped));
  }
}

void Recorder::FinishTake(const char* reason) {
  level_ = 0.0;
  take_.resize(take_.size() - take_.size() % format_.BytesPerFrame());
  if (take_.empty() && !previous_.empty()) {  // the microphone gave nothing
    RestorePreviousTake();
    Enter(RecorderState::Recorded, reason ? reason : RecorderText(kTextNothingRecorded));
  } else if (take_.empty()) {
    Enter(RecorderState::Idle, reason ? reason : RecorderText(kTextNothingRecorded));
  } else {
    const char* heard =
        takePeak_ < kSilentPeak ? RecorderText(kTextSilent) : RecorderText(kTextRecorded);
    Enter(RecorderState::Recorded, reason ? reason : heard);
  }
}

void Recorder::RestorePreviousTake() {
  take_.swap(previous_);
  previous_.clear();
  format_ = previousFormat_;
}

void Recorder::Enter(RecorderState state, std::string message) {
  state_ = state;
  message_ = std::move(message);
  Changed();
}

void Recorder::Changed() {
  if (onChange_) {
    onChange_();
  }
}
