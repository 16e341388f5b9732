#include "tools/sndrec32/wav_file.h"

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

TEST(EncodeWav, WritesTheCanonicalPcmHeader) {
  const std::vector<std::uint8_t> expected = {
      'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W',  'A',  'V',  'E',  // RIFF size 36 + 4
      'f',  'm',  't', ' ', 16,   0,    0, 0, 1,    0,    1,    0,    // PCM, one channel
      0x80, 0x3E, 0,   0,   0x00, 0x7D, 0, 0, 2,    0,    16,   0,    // 16000 Hz, 32000 B/s
      'd',  'a',  't', 'a', 4,    0,    0, 0, 0x01, 0x02, 0xFF, 0x7F};
  EXPECT_EQ(
      EncodeWav({.SampleRate = 16000, .Channels = 1}, std::vector<std::uint8_t>{1, 2, 255, 127}),
      expected);

  const std::vector<std::uint8_t> tone = ToneBytes(4410);
  const PcmFormat stereo{.SampleRate = 44100, .Channels = 2};
  const auto wav = ParseWav(EncodeWav(stereo, tone));
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Format, stereo);
  EXPECT_EQ(wav->Data, tone);
}

TEST(EncodeWav, DropsAPartialFrameAndPadsAnOddChunk) {
  const std::vector<std::uint8_t> three = {1, 2, 3};  // no whole 16-bit stereo frame
  const auto cut = ParseWav(EncodeWav({.SampleRate = 8000, .Channels = 2}, three));
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->Data.empty());

  const std::vector<std::uint8_t> odd = EncodeWav({8000, 1, 8}, three);
  ASSERT_EQ(odd.size(), kWavHeaderSize + 4);
  EXPECT_EQ(odd.back(), 0);
  ASSERT_TRUE(ParseWav(odd));
  EXPECT_EQ(ParseWav(odd)->Data, three);
}

TEST(EncodeWav, RefusesFormatsItCannotDescribe) {
  const std::vector<std::uint8_t> pcm(8, 0);
  EXPECT_TRUE(EncodeWav({16000, 0, 16}, pcm).empty());
  EXPECT_TRUE(EncodeWav({0, 1, 16}, pcm).empty());
  EXPECT_TRUE(EncodeWav({16000, 1, 12}, pcm).empty());
  EXPECT_FALSE(IsWritableFormat({0xFFFFFFFF, 2, 16}));
}

}  // namespace
