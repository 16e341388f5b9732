#pragma once

// Test doubles for the recorder: a microphone that hands over a generated
// tone, a speaker that remembers what it played, and a WAV reader.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
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
  bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
            std::function<void()> finished) override {
    played_.assign(pcm.begin(), pcm.end());
    format_ = format;
    finished_ = std::move(finished);
    return !refusePlay_;
  }
  void Stop() override { ++stops_; }
  void Finish() { finished_(); }

  std::vector<std::uint8_t> played_;
  PcmFormat format_;
  bool refusePlay_ = false;
  int stops_ = 0;

 private:
  std::function<void()> finished_;
};

struct ParsedWav {
  PcmFormat Format;
  std::vector<std::uint8_t> Data;
};

/// Reads a canonical PCM WAV file back; nothing when any tag or size disagrees.
inline std::optional<ParsedWav> ParseWav(const std::vector<std::uint8_t>& b) {
  const auto le = [&](std::size_t at, int n) {
    std::uint32_t value = 0;
    while (n-- > 0)
      value = (value << 8) | b[at + n];
    return value;
  };
  const auto tag = [&](std::size_t at, const char* name) { return !std::memcmp(&b[at], name, 4); };
  if (b.size() < 44 || !tag(0, "RIFF") || !tag(8, "WAVE") || !tag(12, "fmt ") || !tag(36, "data") ||
      le(16, 4) != 16 || le(20, 2) != 1) {
    return std::nullopt;
  }
  ParsedWav wav{
      {le(24, 4), static_cast<std::uint16_t>(le(22, 2)), static_cast<std::uint16_t>(le(34, 2))},
      {}};
  const std::uint32_t size = le(40, 4);
  if (le(4, 4) != 36 + size + size % 2 || b.size() != 44 + size + size % 2 ||
      le(28, 4) != wav.Format.BytesPerSecond() || le(32, 2) != wav.Format.BytesPerFrame()) {
    return std::nullopt;
  }
  wav.Data.assign(b.begin() + 44, b.begin() + 44 + size);
  return wav;
}

inline std::optional<ParsedWav> ParseWavFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  const QByteArray bytes = file.readAll();
  return ParseWav({bytes.begin(), bytes.end()});
}
