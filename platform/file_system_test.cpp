#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "platform/program_path.h"
#include "tests/test_support.h"

namespace {

TEST(CopyFileReplacing, CopiesBytesOverALongerTarget) {
  TempDir dir;
  const std::string bytes("RIFF\0\0\0\0WAVE\r\n", 14);
  const std::string source = dir.Write("mallar/emptysound.wav", bytes);
  const std::string target = dir.Write("album/beach.wav", std::string(100000, 'r'));
  EXPECT_TRUE(CopyFileReplacing(source, target));
  EXPECT_EQ(ReadFileBytes(target), bytes);
}

TEST(CopyFileReplacing, FailsWithoutSourceOrTargetFolder) {
  TempDir dir;
  const std::string source = dir.Write("a.gif", "GIF89a");
  EXPECT_FALSE(CopyFileReplacing(dir / "missing.gif", dir / "b.gif"));
  EXPECT_FALSE(PathExists(dir / "b.gif"));
  EXPECT_FALSE(CopyFileReplacing(source, dir / "no/folder/b.gif"));
}

TEST(ProgramFilePath, NamesThisTestProgram) {
  const std::string self = ProgramFilePath();
  ASSERT_FALSE(self.empty());
  EXPECT_EQ(self.front(), '/');
  EXPECT_NE(self.find("korvalo_tests"), std::string::npos);
  EXPECT_GT(PathSize(self), 0);
}

}  // namespace
