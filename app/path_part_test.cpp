#include "app/path_part.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
  const char* path;
  const char* selector;
  const char* expected;
};

TEST(PathPart, SplitRuleTable) {
  const PathCase cases[] = {
      {"/home/ann/Pics/Summer/beach.jpg", "drive,dir", "/home/ann/Pics/Summer/"},
      {"/home/ann/Pics/Summer/beach.jpg", "drive,dir,name", "/home/ann/Pics/Summer/beach"},
      {"/home/ann/Pics/Summer/beach.jpg", "dir,name,type", "/home/ann/Pics/Summer/beach.jpg"},
      {"/home/ann/Pics/Summer/beach.jpg", "type", ".jpg"},
      // A folder with and without its trailing separator.
      {"/home/ann/Pics/", "name", ""},
      {"/home/ann/Pics", "name", "Pics"},
      {"/home/ann/Pics", "drive,dir", "/home/ann/"},
      // A dot in a folder name never starts an extension.
      {"/pics/album.2007/photo", "type", ""},
      {"/pics/.hidden", "name", ""},
      {"/pics/.hidden", "type", ".hidden"},
      {"archive.tar.gz", "name", "archive.tar"},
      {"beach.jpg", "drive,dir", ""},
      {"C:beach.jpg", "drive,dir", "C:"},
      // On Linux a backslash belongs to the file name.
      {"/pics/a\\b.c\\d.jpg", "name,type", "a\\b.c\\d.jpg"},
      {"/pics/a.b\\c", "type", ".b\\c"},
      // The order of the keywords in the selector does not matter.
      {"/p/beach.jpg", "type name dir", "/p/beach.jpg"},
      {"/p/beach.jpg", "NAME", ""},
      // Quotes around a path are dropped.
      {"\"/opt/apps/tool.exe\"", "drive,dir", "/opt/apps/"},
      {"\"/opt/apps/tool.exe\"", "name,type", "tool.exe"},
      {"", "drive,dir,name,type", ""},
      {"/a b/100%.jpg", "name,type", "100%.jpg"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(PathPart(c.path, c.selector), c.expected)
        << "path " << c.path << " selector " << c.selector;
  }
}

TEST(PathPart, LongPathsAreKeptWhole) {
  const std::string folder = "/" + std::string(3000, 'd') + "/";
  const std::string name(300, 'n');
  EXPECT_EQ(PathPart(folder + name + ".jpg", "drive,dir,name"), folder + name);
}

}  // namespace
