#include "tools/sndrec32/win32/wave_audio.h"

#include <algorithm>

namespace {

// A second of blocks queued: a window busy for a moment loses no sound.
constexpr std::size_t kBlocks = 20;
constexpr DWORD kBlockMs = 50;
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 250;
// A device that hands over nothing for this long is gone: winmm says nothing
// when the sound server behind it goes away, it just stops.
constexpr ULONGLONG kSilentDeviceMs = 2000;
// Closing the output drops what the sound server still holds: a take's last
// few milliseconds, under Wine. Silence after it goes instead.
constexpr std::uint32_t kPlaybackTailMs = 100;

WAVEFORMATEX WaveFormatOf(const PcmFormat& format) {
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = format.Channels;
  wave.nSamplesPerSec = format.SampleRate;
  wave.wBitsPerSample = format.BitsPerSample;
  wave.nBlockAlign = static_cast<WORD>(format.BytesPerFrame());
  wave.nAvgBytesPerSec = format.BytesPerSecond();
  return wave;
}

}  // namespace

WaveInput::WaveInput(UINT device, const PcmFormat& format)
    : device_(device),
      format_(format),
      window_([this](UINT message, WPARAM, LPARAM) { OnMessage(message); }) {}

WaveInput::~WaveInput() {
  Stop();
}

bool WaveInput::Start(Callbacks callbacks) {
  Stop();
  WAVEFORMATEX wave = WaveFormatOf(format_);
  if (waveInOpen(&wave_, device_, &wave, reinterpret_cast<DWORD_PTR>(window_.Handle()), 0,
                 CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    wave_ = nullptr;
    return false;
  }
  callbacks_ = std::move(callbacks);
  blocks_ = std::vector<Block>(kBlocks);
  next_ = 0;
  bool started = true;
  for (Block& block : blocks_) {
    block.Bytes.resize(format_.BytesPerSecond() * kBlockMs / 1000);
    block.Header.lpData = block.Bytes.data();
    block.Header.dwBufferLength = static_cast<DWORD>(block.Bytes.size());
    started = started &&
              waveInPrepareHeader(wave_, &block.Header, sizeof block.Header) == MMSYSERR_NOERROR &&
              waveInAddBuffer(wave_, &block.Header, sizeof block.Header) == MMSYSERR_NOERROR;
  }
  if (!started || waveInStart(wave_) != MMSYSERR_NOERROR) {
    callbacks_ = {};
    Stop();
    return false;
  }
  lastData_ = GetTickCount64();
  SetTimer(window_.Handle(), kWatchTimer, kWatchMs, nullptr);
  return true;
}

void WaveInput::Stop() {
  if (wave_ == nullptr) {
    return;
  }
  KillTimer(window_.Handle(), kWatchTimer);
  // Stop hands back the block being filled, Reset the empty rest, both marked
  // done at once; the messages saying so come later and find nothing to do.
  waveInStop(wave_);
  waveInReset(wave_);
  std::vector<std::uint8_t> rest;
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    const WAVEHDR& header = blocks_[(next_ + i) % blocks_.size()].Header;
    if (header.dwFlags & WHDR_DONE) {
      rest.insert(rest.end(), header.lpData, header.lpData + header.dwBytesRecorded);
    }
  }
  for (Block& block : blocks_) {
    waveInUnprepareHeader(wave_, &block.Header, sizeof block.Header);
  }
  waveInClose(wave_);
  wave_ = nullptr;
  blocks_.clear();
  const Callbacks callbacks = std::move(callbacks_);
  callbacks_ = {};
  if (!rest.empty() && callbacks.Data) {
    callbacks.Data(rest);
  }
}

void WaveInput::OnMessage(UINT message) {
  if (wave_ == nullptr) {
    return;
  }
  if (message == MM_WIM_DATA) {
    DeliverDone();
  } else if (message == WM_TIMER && GetTickCount64() - lastData_ > kSilentDeviceMs) {
    Fail();
  }
}

// Hands over the blocks done, in the order they were filled, and gives each
// back to the device.
void WaveInput::DeliverDone() {
  while (wave_ != nullptr && (blocks_[next_].Header.dwFlags & WHDR_DONE)) {
    WAVEHDR& header = blocks_[next_].Header;
    // Copied: the callback may Stop, which frees the block.
    const std::vector<std::uint8_t> data(header.lpData, header.lpData + header.dwBytesRecorded);
    next_ = (next_ + 1) % blocks_.size();
    header.dwFlags &= ~WHDR_DONE;
    header.dwBytesRecorded = 0;
    if (waveInAddBuffer(wave_, &header, sizeof header) != MMSYSERR_NOERROR) {
      Fail();
      return;
    }
    lastData_ = GetTickCount64();
    if (!data.empty() && callbacks_.Data) {
      const auto deliver = callbacks_.Data;  // the callback may Stop, which clears callbacks_
      deliver(data);
    }
  }
}

void WaveInput::Fail() {
  if (const auto failed = callbacks_.Failed) {
    failed("the input device stopped");
  } else {
    Stop();
  }
}

WaveOutput::WaveOutput() : window_([this](UINT message, WPARAM, LPARAM) { OnMessage(message); }) {}

WaveOutput::~WaveOutput() {
  Stop();
}

bool WaveOutput::Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
                      std::function<void(bool played)> finished) {
  Stop();
  WAVEFORMATEX wave = WaveFormatOf(format);
  if (pcm.empty() ||
      waveOutOpen(&wave_, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(window_.Handle()), 0,
                  CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    wave_ = nullptr;
    return false;
  }
  pcm_.assign(pcm.begin(), pcm.end());
  length_ = pcm_.size();
  pcm_.resize(length_ + format.BytesPerSecond() * kPlaybackTailMs / 1000, 0);
  header_ = WAVEHDR{};
  header_.lpData = pcm_.data();
  header_.dwBufferLength = static_cast<DWORD>(pcm_.size());
  if (waveOutPrepareHeader(wave_, &header_, sizeof header_) != MMSYSERR_NOERROR ||
      waveOutWrite(wave_, &header_, sizeof header_) != MMSYSERR_NOERROR) {
    Stop();
    return false;
  }
  finished_ = std::move(finished);
  lastPlayed_ = 0;
  lastMoved_ = GetTickCount64();
  SetTimer(window_.Handle(), kWatchTimer, kWatchMs, nullptr);
  return true;
}

void WaveOutput::Stop() {
  finished_ = nullptr;
  if (wave_ == nullptr) {
    return;
  }
  KillTimer(window_.Handle(), kWatchTimer);
  waveOutReset(wave_);
  waveOutUnprepareHeader(wave_, &header_, sizeof header_);
  waveOutClose(wave_);
  wave_ = nullptr;
  pcm_.clear();
}

std::size_t WaveOutput::PlayedBytes() const {
  MMTIME time{};
  time.wType = TIME_BYTES;
  if (wave_ == nullptr || waveOutGetPosition(wave_, &time, sizeof time) != MMSYSERR_NOERROR ||
      time.wType != TIME_BYTES) {
    return 0;
  }
  return std::min<std::size_t>(time.u.cb, length_);
}

// Done comes once the device has played the block out, its silence after the
// take included.
void WaveOutput::OnMessage(UINT message) {
  if (wave_ == nullptr) {
    return;
  }
  if (message == MM_WOM_DONE && (header_.dwFlags & WHDR_DONE)) {
    // Wine hands the block back at once when the sound server goes away.
    End(PlayedBytes() >= length_);
  } else if (message == WM_TIMER) {
    // A device whose position stands still is gone, as an input that gives nothing.
    const std::size_t played = PlayedBytes();
    if (played != lastPlayed_) {
      lastPlayed_ = played;
      lastMoved_ = GetTickCount64();
    } else if (GetTickCount64() - lastMoved_ > kSilentDeviceMs) {
      End(false);
    }
  }
}

void WaveOutput::End(bool played) {
  const std::function<void(bool)> finished = finished_;  // Stop drops it
  Stop();
  if (finished) {
    finished(played);
  }
}

std::unique_ptr<AudioInput> OpenInput(UINT device) {
  for (const std::uint32_t rate : {48000u, 44100u, 16000u}) {
    const PcmFormat format{.SampleRate = rate, .Channels = 1, .BitsPerSample = 16};
    WAVEFORMATEX wave = WaveFormatOf(format);
    if (waveInOpen(nullptr, device, &wave, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR) {
      return std::make_unique<WaveInput>(device, format);
    }
  }
  return nullptr;
}
