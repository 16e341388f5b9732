#include "tools/sndrec32/wav_file.h"

#include <gtest/gtest.h>

#include "tools/sndrec32/test_audio.h"

namespace {

TEST(EncodeWav, WritesTheCanonicalPcmHeader) {
  const std::vector<std::uint8_t> pcm = {0x01, 0x02, 0xFF, 0x7F};
  const std::vector<std::uint8_t> expected = {
      'R',  'I',  'F', 'F', 40, 0, 0, 0, 'W',  'A',  'V',  'E',  // RIFF size = 36 + 4
      'f',  'm',  't', ' ', 16, 0, 0, 0,                         // fmt chunk of 16 bytes
      1,    0,    1,   0,                                        // PCM, one channel
      0x80, 0x3E, 0,   0,                                        // 16000 Hz
      0x00, 0x7D, 0,   0,                                        // 32000 bytes a second
      2,    0,    16,  0,                                        // 2 bytes a frame, 16 bits
      'd',  'a',  't', 'a', 4,  0, 0, 0, 0x01, 0x02, 0xFF, 0x7F};
  EXPECT_EQ(EncodeWav({.SampleRate = 16000, .Channels = 1, .BitsPerSample = 16}, pcm), expected);
}

TEST(EncodeWav, ReadsBackInOtherShapes) {
  const std::vector<std::uint8_t> tone = LittleEndianBytes(Tone(440, 44100, 4410));
  const PcmFormat stereo{.SampleRate = 44100, .Channels = 2, .BitsPerSample = 16};
  const auto wav = ParseWav(EncodeWav(stereo, tone));
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->Format, stereo);
  EXPECT_EQ(wav->Data, tone);

  const auto empty = ParseWav(EncodeWav(stereo, {}));
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->Data.empty());
}

TEST(EncodeWav, DropsAPartialFrameAndPadsAnOddChunk) {
  // Three 16-bit stereo bytes are no whole frame at all.
  const std::vector<std::uint8_t> three = {1, 2, 3};
  const auto cut = ParseWav(EncodeWav({.SampleRate = 8000, .Channels = 2}, three));
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->Data.empty());

  // 8-bit mono keeps all three bytes; the chunk then needs a pad byte.
  const PcmFormat eightBit{.SampleRate = 8000, .Channels = 1, .BitsPerSample = 8};
  const std::vector<std::uint8_t> bytes = EncodeWav(eightBit, three);
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 4);
  EXPECT_EQ(bytes.back(), 0);
  const auto odd = ParseWav(bytes);
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->Data, three);
}

TEST(EncodeWav, RefusesFormatsItCannotDescribe) {
  const std::vector<std::uint8_t> pcm(8, 0);
  EXPECT_TRUE(EncodeWav({.SampleRate = 16000, .Channels = 0}, pcm).empty());
  EXPECT_TRUE(EncodeWav({.SampleRate = 0, .Channels = 1}, pcm).empty());
  EXPECT_TRUE(EncodeWav({.SampleRate = 16000, .Channels = 1, .BitsPerSample = 12}, pcm).empty());
  EXPECT_FALSE(IsWritableFormat({.SampleRate = 0xFFFFFFFF, .Channels = 2}));
}

}  // namespace
