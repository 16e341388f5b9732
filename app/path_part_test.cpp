#include "app/path_part.h"

#include <gtest/gtest.h>

TEST(PathPart, SplitRuleTable) {
  const std::string folder = "/" + std::string(3000, 'd') + "/" + std::string(300, 'n');
  const struct {
    std::string Path, Selector, Expected;
  } cases[] = {
      // A dot in a folder name never starts an extension; the last dot in a file name does.
      {"/pics/album.2007/photo", "type", ""},
      {"/pics/.hidden", "type", ".hidden"},
      {"archive.tar.gz", "name", "archive.tar"},
      {"C:beach.jpg", "drive,dir", "C:"},
      // On Linux a backslash belongs to the file name.
      {"/pics/a\\b.c\\d.jpg", "name,type", "a\\b.c\\d.jpg"},
      // The order of the keywords in the selector does not matter.
      {"/p/beach.jpg", "type name dir", "/p/beach.jpg"},
      // Quotes around a path are dropped.
      {"\"/opt/apps/tool.exe\"", "drive,dir", "/opt/apps/"},
      {"\"/opt/apps/tool.exe\"", "name,type", "tool.exe"},
      // Long paths are kept whole.
      {folder + ".jpg", "drive,dir,name", folder},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathPart(c.Path, c.Selector), c.Expected) << c.Path << " selector " << c.Selector;
  }
}
