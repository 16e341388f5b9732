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

// Device names open the device, and a trailing dot or blank names another
// entry; Linux makes its album of them as of any name.
TEST(ClassifyEntry, NamesWindowsCannotUse) {
  const std::tuple<const char*, bool, EntryKind> cases[] = {
      {"aux.jpg", false, EntryKind::UnusableName},
      {"CON.x.jpg", false, EntryKind::UnusableName},
      {"nul .gif", false, EntryKind::UnusableName},
      {"Com1.JPG", false, EntryKind::UnusableName},
      {"lpt\xC2\xB9.jpg", false, EntryKind::UnusableName},
      {"conout$.gif", false, EntryKind::UnusableName},
      {"prn", true, EntryKind::UnusableName},
      {"Trip.", true, EntryKind::UnusableName},
      {"Trip ", true, EntryKind::UnusableName},
      {"console.jpg", false, EntryKind::Picture},
      {"com10.jpg", false, EntryKind::Picture},
      {"a aux.jpg", false, EntryKind::Picture},
      {" con.jpg", false, EntryKind::Picture},
      {"aux.txt", false, EntryKind::Skipped},
  };
  for (const auto& [name, isFolder, kind] : cases) {
    EXPECT_EQ(kind,
              ClassifyEntry({"__goback.gif", "index.jpg", "index", true, true}, name, isFolder))
        << name;
    const EntryKind onLinux = kind == EntryKind::UnusableName
                                  ? (isFolder ? EntryKind::SubAlbum : EntryKind::Picture)
                                  : kind;
    EXPECT_EQ(onLinux,
              ClassifyEntry({"__goback.gif", "index.jpg", "index", true, false}, name, isFolder))
        << name;
  }
}
