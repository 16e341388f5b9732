#include "album/album_entry.h"

#include <gtest/gtest.h>

#include <tuple>

// Plain pictures and sub-albums, with and without subfolders, are classified
// in the generator's tests.
TEST(ClassifyEntry, CornerCasesOfNamesAndFolders) {
  const std::tuple<const char*, bool, EntryKind> cases[] = {
      // Support images (the old go-back name too), in any case and as folders, are never entries.
      {"INDEX.JPG", false, EntryKind::Skipped},
      {"__GoBack.jpg", false, EntryKind::Skipped},
      {"__GoBack.GIF", true, EntryKind::Skipped},
      {"photo.jpeg", false, EntryKind::Skipped},
      {"x.jpg.bak", false, EntryKind::Skipped},
      // Only a picture's page can be the index page.
      {"index", true, EntryKind::SubAlbum},
      {"index.jpg.gif", false, EntryKind::Picture},
  };
  for (const auto& [name, isFolder, kind] : cases) {
    EXPECT_EQ(kind, ClassifyEntry({"__goback.gif", "index.jpg", "index", true}, name, isFolder))
        << name;
  }
}
