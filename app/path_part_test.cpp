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
      {R"(C:\Pics\Summer\beach.jpg)", "drive,dir", R"(C:\Pics\Summer\)"},
      {R"(C:\Pics\Summer\beach.jpg)", "drive,dir,name", R"(C:\Pics\Summer\beach)"},
      {R"(C:\Pics\Summer\beach.jpg)", "dir,name,type", R"(\Pics\Summer\beach.jpg)"},
      {R"(C:\Pics\Summer\beach.jpg)", "name", "beach"},
      {R"(C:\Pics\Summer\beach.jpg)", "type", ".jpg"},
      {"/home/ann/Pics/beach.jpg", "drive,dir", "/home/ann/Pics/"},
      {"/home/ann/Pics/beach.jpg", "dir,name", "/home/ann/Pics/beach"},
      // A folder with and without its trailing separator.
      {"/home/ann/Pics/", "name", ""},
      {"/home/ann/Pics/", "type", ""},
      {"/home/ann/Pics", "name", "Pics"},
      {"/home/ann/Pics", "drive,dir", "/home/ann/"},
      // A dot in a folder name never starts an extension.
      {R"(C:\Pics\album.2007\photo)", "type", ""},
      {"/pics/album.2007/photo", "name", "photo"},
      {R"(C:\Pics\.hidden)", "name", ""},
      {R"(C:\Pics\.hidden)", "type", ".hidden"},
      {"archive.tar.gz", "name", "archive.tar"},
      {"beach.jpg", "drive,dir", ""},
      {"C:beach.jpg", "drive,dir", "C:"},
      // The order of the keywords in the selector does not matter.
      {"/p/beach.jpg", "type,name", "beach.jpg"},
      {"/p/beach.jpg", "type name dir", "/p/beach.jpg"},
      {"/p/beach.jpg", "NAME", ""},
      // Quotes around a path are dropped.
      {R"("C:\Apps\tool.exe")", "drive,dir", R"(C:\Apps\)"},
      {R"("C:\Apps\tool.exe")", "name,type", "tool.exe"},
      {"", "drive,dir,name,type", ""},
      {"/a b/100%.jpg", "name,type", "100%.jpg"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(PathPart(c.path, c.selector), c.expected)
        << "path " << c.path << " selector " << c.selector;
  }
}

TEST(PathPart, LongPathsAreKeptWhole) {
  std::string deep;
  for (int i = 0; i < 200; ++i) {
    deep += "/folder" + std::to_string(i);
  }
  const std::string name(300, 'n');
  EXPECT_EQ(PathPart(deep + "/" + name + ".jpg", "drive,dir"), deep + "/");
  EXPECT_EQ(PathPart(deep + "/" + name + ".jpg", "name"), name);
}

}  // namespace
