#pragma once

// Test doubles for the recorder: a microphone that hands over a generated
// tone and a speaker that remembers what it played.

#include <algorithm>
#include <cmath>
#include <vector>

#include <QFile>

#include "tools/sndrec32/audio_io.h"

/// 440 Hz at 80 % of full scale, 16 kHz, from sample `first` on, as 16-bit little-endian.
inline std::vector<std::uint8_t> ToneBytes(std::size_t count, std::size_t first = 0) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = first; i < first + count; ++i) {
    const auto s =
        static_cast<std::int16_t>(std::lround(26214 * std::sin(2 * M_PI * 440 * i / 16000.0)));
    bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  return bytes;
}

class ToneInput : public AudioInput {
 public:
  PcmFormat Format() const override { return {.SampleRate = 16000, .Channels = 1}; }
  bool Start(Callbacks callbacks) override {
    callbacks_ = std::move(callbacks);
    running_ = !refuseStart_;
    return running_;
  }
  void Stop() override { running_ = false; }

  /// Hands over the next `count` samples in chunks of `chunk` bytes; odd
  /// sizes split samples, as real devices may.
  void Feed(std::size_t count, std::size_t chunk = 640) {
    const std::vector<std::uint8_t> bytes = ToneBytes(count, fed_.size() / 2);
    fed_.insert(fed_.end(), bytes.begin(), bytes.end());
    for (std::size_t at = 0; running_ && at < bytes.size(); at += chunk) {
      callbacks_.Data(std::span(bytes).subspan(at, std::min(chunk, bytes.size() - at)));
    }
  }
  void Fail() { callbacks_.Failed("unplugged"); }

  std::vector<std::uint8_t> fed_;  ///< Every byte handed over, across takes.
  bool running_ = false;
  bool refuseStart_ = false;

 private:
  Callbacks callbacks_;
};

class FakeOutput : public AudioOutput {
 public:
  bool Play(const PcmFormat&, std::span<const std::uint8_t> pcm,
            std::function<void(bool)> finished) override {
    played_.assign(pcm.begin(), pcm.end());
    finished_ = std::move(finished);
    return !refusePlay_;
  }
  void Stop() override { ++stops_; }
  void Finish(bool played) { finished_(played); }

  std::vector<std::uint8_t> played_;
  bool refusePlay_ = false;
  int stops_ = 0;

 private:
  std::function<void(bool)> finished_;
};

/// The whole file; empty when it cannot be read.
inline std::vector<std::uint8_t> FileBytes(const QString& path) {
  QFile file(path);
  const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  return {bytes.begin(), bytes.end()};
}
