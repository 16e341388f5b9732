#include "app/path_part.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PathPart, SplitRuleTable) {
  const std::string folder = "/" + std::string(3000, 'd') + "/" + std::string(300, 'n');
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // A dot in a folder name never starts an extension; the last dot in a file name does.
      {"/pics/album.2007/photo", "type", ""},
      {"/pics/.hidden", "type", ".hidden"},
      {"archive.tar.gz", "name", "archive.tar"},
      {"C:beach.jpg", "drive,dir", "C:"},
#ifdef _WIN32
      // On Windows a backslash separates folders as a slash does.
      {"C:\\pics/a\\b.c\\d.jpg", "drive,dir", "C:\\pics/a\\b.c\\"},
#else
      // On Linux a backslash belongs to the file name.
      {"/pics/a\\b.c\\d.jpg", "name,type", "a\\b.c\\d.jpg"},
#endif
      // The order of the keywords in the selector does not matter.
      {"/p/beach.jpg", "type name dir", "/p/beach.jpg"},
      // Quotes around a path are dropped.
      {"\"/opt/apps/tool.exe\"", "drive,dir", "/opt/apps/"},
      {"\"/opt/apps/tool.exe\"", "name,type", "tool.exe"},
      {folder + ".jpg", "drive,dir,name", folder},  // Long paths are kept whole.
  };
  for (const auto& [path, selector, expected] : cases) {
    EXPECT_EQ(PathPart(path, selector), expected) << path << " selector " << selector;
  }
}
