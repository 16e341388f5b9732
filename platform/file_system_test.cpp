#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

// Plain copies are checked byte for byte in the end-to-end runs.
TEST(CopyFileReplacing, CopiesOverALongerTargetAndMakesNothingWithoutASource) {
  TempDir dir;
  const std::string source = dir.Write("emptysound.wav", "RIFF");
  const std::string target = dir.Write("beach.wav", std::string(100000, 'r'));
  EXPECT_TRUE(CopyFileReplacing(source, target));
  EXPECT_EQ(ReadFileBytes(target), "RIFF");
  EXPECT_FALSE(CopyFileReplacing(dir / "missing.gif", dir / "b.gif"));
  EXPECT_FALSE(PathExists(dir / "b.gif"));
}
