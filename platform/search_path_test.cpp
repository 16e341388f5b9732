#include "platform/search_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets PATH for one case and puts the test program's own PATH back afterwards.
class SearchPathTest : public ::testing::Test {
 protected:
  SearchPathTest() : saved_(std::getenv("PATH")) {}
  ~SearchPathTest() override { setenv("PATH", saved_.c_str(), 1); }

  static std::string PathAfterAppending(std::optional<std::string> before, const char* folder) {
    if (before) {
      setenv("PATH", before->c_str(), 1);
    } else {
      unsetenv("PATH");
    }
    AppendToSearchPath(folder);
    return std::getenv("PATH");
  }

  std::string saved_;
};

TEST_F(SearchPathTest, TheFolderComesLastAndOnlyOnce) {
  const struct {
    std::optional<std::string> Before;
    const char* Folder;
    std::string After;
  } cases[] = {
      {"/usr/bin:/bin", "/opt/korvalo/", "/usr/bin:/bin:/opt/korvalo"},
      {"/opt/korvalo:/usr/bin", "/opt/korvalo/", "/opt/korvalo:/usr/bin"},
      {"/usr/bin:/opt/korvalo/", "/opt/korvalo", "/usr/bin:/opt/korvalo/"},
      {"/opt/korvalo/lib:/bin", "/opt/korvalo", "/opt/korvalo/lib:/bin:/opt/korvalo"},
      {"", "/opt/korvalo/", "/opt/korvalo"},
  };
  for (const auto& [before, folder, after] : cases) {
    EXPECT_EQ(after, PathAfterAppending(before, folder)) << *before;
  }
  // Without PATH the system's default folders stay searched, ahead of ours.
  const std::string unset = PathAfterAppending(std::nullopt, "/opt/korvalo/");
  EXPECT_NE(std::string::npos, unset.find("/usr/bin:"));
  EXPECT_EQ(":/opt/korvalo", unset.substr(unset.rfind(':')));
}

}  // namespace
