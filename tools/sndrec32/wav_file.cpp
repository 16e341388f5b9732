#include "tools/sndrec32/wav_file.h"

namespace {

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  out.insert(out.end(), tag, tag + 4);
}

// WAV stores every number little-endian, whatever the machine.
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

}  // namespace

bool IsWritableFormat(const PcmFormat& format) {
  const bool knownWidth = format.BitsPerSample == 8 || format.BitsPerSample == 16 ||
                          format.BitsPerSample == 24 || format.BitsPerSample == 32;
  return knownWidth && format.Channels > 0 && format.SampleRate > 0 &&
         static_cast<std::uint64_t>(format.SampleRate) * format.BytesPerFrame() <= 0xFFFFFFFFull;
}

std::vector<std::uint8_t> EncodeWav(const PcmFormat& format, std::span<const std::uint8_t> pcm) {
  if (!IsWritableFormat(format)) {
    return {};
  }
  // A trailing partial frame would shift every channel for a player; drop it.
  const std::size_t frameBytes = format.BytesPerFrame();
  const std::size_t dataBytes = pcm.size() - pcm.size() % frameBytes;
  if (dataBytes > kMaxWavDataBytes) {
    return {};
  }
  // RIFF chunks are word-aligned: an odd data size takes a pad byte after it.
  const std::size_t pad = dataBytes % 2;
  std::vector<std::uint8_t> out;
  out.reserve(kWavHeaderSize + dataBytes + pad);
  PutTag(out, "RIFF");
  PutLe(out, static_cast<std::uint32_t>(kWavHeaderSize - 8 + dataBytes + pad), 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, format.Channels, 2);
  PutLe(out, format.SampleRate, 4);
  PutLe(out, format.BytesPerSecond(), 4);
  PutLe(out, frameBytes, 2);
  PutLe(out, format.BitsPerSample, 2);
  PutTag(out, "data");
  PutLe(out, static_cast<std::uint32_t>(dataBytes), 4);
  out.insert(out.end(), pcm.begin(), pcm.begin() + static_cast<std::ptrdiff_t>(dataBytes));
  out.resize(out.size() + pad, 0);
  return out;
}
