#include "tools/sndrec32/wav_file.h"

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The little-endian number of `size` bytes at `at`.
std::uint32_t Field(const Bytes& wav, std::size_t at, int size = 4) {
  std::uint32_t value = 0;
  while (size-- > 0) {
    value = (value << 8) | wav.at(at + size);
  }
  return value;
}

TEST(EncodeWav, WritesTheCanonicalPcmHeader) {
  const Bytes expected = {
      'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W',  'A',  'V',  'E',  // RIFF size 36 + 4
      'f',  'm',  't', ' ', 16,   0,    0, 0, 1,    0,    1,    0,    // PCM, one channel
      0x80, 0x3E, 0,   0,   0x00, 0x7D, 0, 0, 2,    0,    16,   0,    // 16000 Hz, 32000 B/s
      'd',  'a',  't', 'a', 4,    0,    0, 0, 0x01, 0x02, 0xFF, 0x7F};
  EXPECT_EQ(EncodeWav({.SampleRate = 16000, .Channels = 1}, Bytes{1, 2, 255, 127}), expected);

  const Bytes tone = ToneBytes(4410);
  const Bytes stereo = EncodeWav({.SampleRate = 44100, .Channels = 2}, tone);
  // Channels, rate, bytes per second, bytes per frame, data size.
  EXPECT_EQ((std::vector{Field(stereo, 22, 2), Field(stereo, 24), Field(stereo, 28),
                         Field(stereo, 32, 2), Field(stereo, 40)}),
            (std::vector<std::uint32_t>{2, 44100, 176400, 4, 8820}));
  EXPECT_EQ(Bytes(stereo.begin() + kWavHeaderSize, stereo.end()), tone);
}

TEST(EncodeWav, DropsAPartialFrameAndPadsAnOddChunk) {
  const Bytes three = {1, 2, 3};  // no whole 16-bit stereo frame
  const Bytes cut = EncodeWav({.SampleRate = 8000, .Channels = 2}, three);
  EXPECT_EQ(cut.size(), kWavHeaderSize);
  EXPECT_EQ(Field(cut, 4), 36u);
  EXPECT_EQ(Field(cut, 40), 0u);

  const Bytes odd = EncodeWav({8000, 1, 8}, three);
  EXPECT_EQ(Field(odd, 4), 36u + 4);
  EXPECT_EQ(Field(odd, 40), 3u);
  EXPECT_EQ(Bytes(odd.begin() + kWavHeaderSize, odd.end()), (Bytes{1, 2, 3, 0}));
}

TEST(EncodeWav, RefusesFormatsItCannotDescribe) {
  for (const PcmFormat& format : {PcmFormat{16000, 0, 16}, {0, 1, 16}, {16000, 1, 12}}) {
    EXPECT_TRUE(EncodeWav(format, Bytes(8, 0)).empty());
  }
  EXPECT_FALSE(IsWritableFormat({0xFFFFFFFF, 2, 16}));
}

}  // namespace
