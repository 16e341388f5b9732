#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(CopyFileReplacing, CopiesBytesOverALongerTargetAndFailsWithoutSourceOrFolder) {
  TempDir dir;
  const std::string bytes("RIFF\0\0\0\0WAVE\r\n", 14);
  const std::string source = dir.Write("mallar/emptysound.wav", bytes);
  const std::string target = dir.Write("album/beach.wav", std::string(100000, 'r'));
  EXPECT_TRUE(CopyFileReplacing(source, target));
  EXPECT_EQ(ReadFileBytes(target), bytes);
  EXPECT_FALSE(CopyFileReplacing(dir / "missing.gif", dir / "b.gif"));
  EXPECT_FALSE(PathExists(dir / "b.gif"));
  EXPECT_FALSE(CopyFileReplacing(source, dir / "no/folder/b.gif"));
}

}  // namespace
