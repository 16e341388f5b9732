#include "platform/search_path.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/test_support.h"

namespace {

TEST(AppendToSearchPath, TheFolderComesLastAndOnlyOnce) {
  const std::tuple<std::optional<std::string>, const char*, std::string> cases[] = {
      {"/usr/bin:/bin", "/opt/korvalo/", "/usr/bin:/bin:/opt/korvalo"},
      {"/opt/korvalo:/usr/bin", "/opt/korvalo/", "/opt/korvalo:/usr/bin"},
      {"/usr/bin:/opt/korvalo/", "/opt/korvalo", "/usr/bin:/opt/korvalo/"},
      {"/opt/korvalo/lib:/bin", "/opt/korvalo", "/opt/korvalo/lib:/bin:/opt/korvalo"},
      {"", "/opt/korvalo/", "/opt/korvalo"},
      // Without PATH the system's default folders stay searched, ahead of ours.
      {std::nullopt, "/opt/korvalo/", "/bin:/usr/bin:/opt/korvalo"},
  };
  for (const auto& [before, folder, after] : cases) {
    const ScopedEnv path("PATH", before);
    AppendToSearchPath(folder);
    EXPECT_EQ(after, std::getenv("PATH")) << before.value_or("unset");
  }
}

}  // namespace
