#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <memory>
#include <vector>

#include "tools/sndrec32/audio_io.h"
#include "tools/sndrec32/win32/message_window.h"

/// Records from one winmm input device (waveIn), in blocks of 50 ms.
class WaveInput : public AudioInput {
 public:
  WaveInput(UINT device, const PcmFormat& format);
  ~WaveInput() override;

  PcmFormat Format() const override { return format_; }
  bool Start(Callbacks callbacks) override;
  void Stop() override;

 private:
  struct Block {
    WAVEHDR Header{};
    std::vector<char> Bytes;
  };
  void OnMessage(UINT message);
  void DeliverDone();
  void Fail();

  UINT device_;
  PcmFormat format_;
  MessageWindow window_;
  HWAVEIN wave_ = nullptr;
  std::vector<Block> blocks_;
  std::size_t next_ = 0;  ///< The block the device fills first.
  ULONGLONG lastData_ = 0;
  Callbacks callbacks_;
};

/// Plays a whole take through the default winmm output (waveOut).
class WaveOutput : public AudioOutput {
 public:
  WaveOutput();
  ~WaveOutput() override;

  bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
            std::function<void(bool played)> finished) override;
  void Stop() override;
  std::size_t PlayedBytes() const override;

 private:
  void OnMessage(UINT message);
  void End(bool played);

  MessageWindow window_;
  HWAVEOUT wave_ = nullptr;
  WAVEHDR header_{};
  std::vector<char> pcm_;   ///< The take, and silence after it.
  std::size_t length_ = 0;  ///< The take's own length in bytes.
  std::function<void(bool)> finished_;
  std::size_t lastPlayed_ = 0;
  ULONGLONG lastMoved_ = 0;
};

/// The input `device` (an index of waveInGetDevCaps) at the first of 48, 44.1
/// and 16 kHz it records in 16-bit mono; null when it takes none of them.
std::unique_ptr<AudioInput> OpenInput(UINT device);
