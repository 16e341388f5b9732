#pragma once

// Test doubles for the recorder: a microphone that plays a generated tone and
// a speaker that remembers what it was asked to play.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/sndrec32/audio_io.h"

/// Samples `first` to `first + count` of a sine tone, 16-bit, at 80 % of full scale.
inline std::vector<std::int16_t> Tone(double hertz, std::uint32_t rate, std::size_t count,
                                      std::size_t first = 0) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(first + i) / rate;
    samples[i] =
        static_cast<std::int16_t>(std::lround(0.8 * 32767 * std::sin(2 * M_PI * hertz * t)));
  }
  return samples;
}

inline std::vector<std::uint8_t> LittleEndianBytes(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> bytes;
  for (std::int16_t s : samples) {
    bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  return bytes;
}

/// A microphone that hands over a 440 Hz tone, 16 kHz mono, when told to.
class ToneInput : public AudioInput {
 public:
  PcmFormat Format() const override { return {.SampleRate = 16000, .Channels = 1}; }
  bool Start(Callbacks callbacks) override {
    ++starts_;
    if (refuseStart_) {
      return false;
    }
    callbacks_ = std::move(callbacks);
    running_ = true;
    return true;
  }
  void Stop() override {
    ++stops_;
    running_ = false;
    callbacks_ = {};
  }

  /// Hands over the next `count` samples of the tone as raw bytes, in chunks
  /// of `chunk` bytes (odd sizes split samples, as real devices may).
  void Feed(std::size_t count, std::size_t chunk = 640) {
    const std::vector<std::uint8_t> bytes = LittleEndianBytes(Next(count));
    for (std::size_t at = 0; running_ && at < bytes.size(); at += chunk) {
      const std::size_t size = std::min(chunk, bytes.size() - at);
      const auto data = callbacks_.Data;
      data(std::span(bytes).subspan(at, size));
    }
  }
  void Fail() {
    const auto failed = callbacks_.Failed;
    failed("unplugged");
  }
  /// The samples handed over so far, across takes.
  const std::vector<std::int16_t>& Fed() const { return fed_; }

  bool running_ = false;
  bool refuseStart_ = false;
  int starts_ = 0;
  int stops_ = 0;

 private:
  std::vector<std::int16_t> Next(std::size_t count) {
    std::vector<std::int16_t> next = Tone(440, 16000, count, fed_.size());
    fed_.insert(fed_.end(), next.begin(), next.end());
    return next;
  }

  Callbacks callbacks_;
  std::vector<std::int16_t> fed_;
};

/// A speaker that remembers what it played; Finish ends the playing.
class FakeOutput : public AudioOutput {
 public:
  bool Play(const PcmFormat& format, std::span<const std::uint8_t> pcm,
            std::function<void()> finished) override {
    if (refusePlay_) {
      return false;
    }
    played_.emplace_back(pcm.begin(), pcm.end());
    format_ = format;
    finished_ = std::move(finished);
    return true;
  }
  void Stop() override {
    ++stops_;
    finished_ = nullptr;
  }
  void Finish() {
    auto finished = std::move(finished_);
    finished_ = nullptr;
    if (finished) {
      finished();
    }
  }

  std::vector<std::vector<std::uint8_t>> played_;
  PcmFormat format_;
  bool refusePlay_ = false;
  int stops_ = 0;

 private:
  std::function<void()> finished_;
};

/// A WAV file read back: its format and sample bytes, or nothing when the
/// header is not the canonical PCM one or its sizes disagree with the file.
struct ParsedWav {
  PcmFormat Format;
  std::vector<std::uint8_t> Data;
};

inline std::uint32_t ReadLe(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | b[at + static_cast<std::size_t>(i)];
  }
  return value;
}

inline std::optional<ParsedWav> ParseWav(const std::vector<std::uint8_t>& b) {
  const auto tag = [&](std::size_t at, const char* name) {
    return std::memcmp(b.data() + at, name, 4) == 0;
  };
  if (b.size() < 44 || !tag(0, "RIFF") || !tag(8, "WAVE") || !tag(12, "fmt ") || !tag(36, "data") ||
      ReadLe(b, 16, 4) != 16 || ReadLe(b, 20, 2) != 1) {
    return std::nullopt;
  }
  ParsedWav wav;
  wav.Format.Channels = static_cast<std::uint16_t>(ReadLe(b, 22, 2));
  wav.Format.SampleRate = ReadLe(b, 24, 4);
  wav.Format.BitsPerSample = static_cast<std::uint16_t>(ReadLe(b, 34, 2));
  const std::uint32_t dataSize = ReadLe(b, 40, 4);
  const std::size_t padded = dataSize + dataSize % 2;
  if (ReadLe(b, 4, 4) != 36 + padded || b.size() != 44 + padded ||
      ReadLe(b, 28, 4) != wav.Format.BytesPerSecond() ||
      ReadLe(b, 32, 2) != wav.Format.BytesPerFrame()) {
    return std::nullopt;
  }
  wav.Data.assign(b.begin() + 44, b.begin() + 44 + dataSize);
  return wav;
}
