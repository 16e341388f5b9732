#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "tools/sndrec32/wav_file.h"

/// A source of recorded sound. Abstract so tests can feed generated sound
/// where no microphone exists.
class AudioInput {
 public:
  struct Callbacks {
    /// Samples as they arrive, in Format(); whole frames or not.
    std::function<void(std::span<const std::uint8_t>)> Data;
    /// The device stopped on its own; no data follows.
    std::function<void(const std::string& reason)> Failed;
  };

  virtual ~AudioInput() = default;
  /// The shape of the samples Data receives; always 16-bit.
  virtual PcmFormat Format() const = 0;
  /// Starts capturing. False when the device would not start.
  virtual bool Start(Callbacks callbacks) = 0;
  /// Delivers what is still buffered, then stops; no callback follows.
  virtual void Stop() = 0;
};

/// A place to play sound back. Abstract for the same reason as AudioInput.
class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  /// Starts playing `pcm` (copied); `finished` runs once, with true when it
  /// has all been heard, false when the device gave up. False when playing
  /// could not start.
  virtual bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
                    std::function<void(bool played)> finished) = 0;
  /// Stops playing at once; `finished` does not run.
  virtual void Stop() = 0;
  /// How many bytes of what Play was given have been heard so far.
  virtual std::size_t PlayedBytes() const = 0;
};
