#include "tools/sndrec32/wav_file.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(EncodeWav, WritesTheCanonicalPcmHeaderOfWholeFramesOnly) {
  const Bytes expected = {
      'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W',  'A',  'V',  'E',  // RIFF size 36 + 4
      'f',  'm',  't', ' ', 16,   0,    0, 0, 1,    0,    1,    0,    // PCM, one channel
      0x80, 0x3E, 0,   0,   0x00, 0x7D, 0, 0, 2,    0,    16,   0,    // 16000 Hz, 32000 B/s
      'd',  'a',  't', 'a', 4,    0,    0, 0, 0x01, 0x02, 0xFF, 0x7F};
  EXPECT_EQ(EncodeWav({.SampleRate = 16000, .Channels = 1}, Bytes{1, 2, 255, 127, 9}), expected);
  const PcmFormat stereo{.SampleRate = 8000, .Channels = 2};
  EXPECT_EQ(EncodeWav(stereo, Bytes{1, 2, 3}), EncodeWav(stereo, Bytes{}));
}

TEST(EncodeWav, RefusesFormatsItCannotDescribe) {
  for (const PcmFormat& format : {PcmFormat{16000, 0, 16}, {0, 1, 16}, {16000, 1, 12}}) {
    EXPECT_TRUE(EncodeWav(format, Bytes(8, 0)).empty());
  }
  EXPECT_FALSE(IsWritableFormat({0xFFFFFFFF, 2, 16}));
}

}  // namespace
