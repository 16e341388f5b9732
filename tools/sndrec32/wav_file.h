#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

/// The shape of raw PCM samples: interleaved frames of `Channels` samples,
/// each `BitsPerSample` wide (8 unsigned, otherwise signed little-endian).
struct PcmFormat {
  std::uint32_t SampleRate = 16000;
  std::uint16_t Channels = 1;
  std::uint16_t BitsPerSample = 16;

  std::uint32_t BytesPerFrame() const { return Channels * ((BitsPerSample + 7u) / 8u); }
  std::uint32_t BytesPerSecond() const { return SampleRate * BytesPerFrame(); }
  bool operator==(const PcmFormat&) const = default;
};

/// Size of the header EncodeWav writes before the samples.
inline constexpr std::size_t kWavHeaderSize = 44;

/// The most sample bytes a WAV file can hold: its RIFF sizes are 32 bits wide.
inline constexpr std::uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - (kWavHeaderSize - 8) - 1;

/// True when `format` can be written as a PCM WAV file.
bool IsWritableFormat(const PcmFormat& format);

/// A complete PCM WAV file: RIFF/WAVE, a 16-byte "fmt " chunk and a "data"
/// chunk holding `pcm` cut to whole frames. Returns an empty vector when the
/// format is not writable or the samples exceed kMaxWavDataBytes.
std::vector<std::uint8_t> EncodeWav(const PcmFormat& format, std::span<const std::uint8_t> pcm);
