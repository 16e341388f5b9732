#include "album/album_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(ClassifyEntry, CornerCasesOfNamesAndFolders) {
  const struct {
    const char* Name;
    bool IsFolder;
    bool IncludeSubfolders;
    EntryKind Kind;
  } cases[] = {
      // Support images, in any case and as folders too, are never entries.
      {"INDEX.JPG", false, true, EntryKind::Skipped},
      {"__GoBack.GIF", true, true, EntryKind::Skipped},
      {"a.GiF", false, false, EntryKind::Picture},
      {"photo.jpeg", false, true, EntryKind::Skipped},
      {"jpg", false, true, EntryKind::Skipped},
      {"x.jpg.bak", false, true, EntryKind::Skipped},
      {"Trip", true, false, EntryKind::Skipped},
      // The extension admits a folder even without subfolders, and it stays a folder.
      {"old.jpg", true, false, EntryKind::SubAlbum},
      {"index", true, true, EntryKind::SubAlbum},
      {"INDEX.GIF", false, true, EntryKind::PageWouldBeIndex},
      {"index.jpg.gif", false, true, EntryKind::Picture},
      {"index2.gif", false, true, EntryKind::Picture},
  };
  for (const auto& c : cases) {
    const EntryRules rules{"__goback.gif", "index.jpg", "index", c.IncludeSubfolders};
    EXPECT_EQ(c.Kind, ClassifyEntry(rules, c.Name, c.IsFolder)) << c.Name;
  }
}

TEST(CellValues, ReferencesKeepTheWholeNameCaptionsAreTidied) {
  const CellValues beach = PictureValues("+beach.jpg");
  EXPECT_EQ("+beach.jpg", beach.FileReference);
  EXPECT_EQ("+beach", beach.ReferenceWithoutExtension);
  EXPECT_EQ("Beach", beach.Caption);
  const CellValues trip = SubAlbumValues("Trip.2007", "index.jpg");
  EXPECT_EQ("Trip.2007/index.jpg", trip.FileReference);
  EXPECT_EQ("Trip.2007/index", trip.ReferenceWithoutExtension);
  EXPECT_EQ("Trip", trip.Caption);
}

}  // namespace
