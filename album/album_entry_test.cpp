#include "album/album_entry.h"

#include <gtest/gtest.h>

#include "album/html_template.h"

namespace {

EntryRules Rules(bool includeSubfolders = true) {
  return EntryRules{"__goback.gif", "index.jpg", "index", includeSubfolders};
}

TEST(ClassifyEntry, SupportImagesAreNeverEntries) {
  for (const char* name :
       {"index.jpg", "INDEX.JPG", "__goback.gif", "__GoBack.GIF", "__goback.jpg", "__GOBACK.JPG"}) {
    EXPECT_EQ(EntryKind::Skipped, ClassifyEntry(Rules(), name, false)) << name;
    EXPECT_EQ(EntryKind::Skipped, ClassifyEntry(Rules(), name, true)) << name;
  }
}

TEST(ClassifyEntry, PicturesByExtensionInAnyAsciiCase) {
  for (const char* name : {"beach.jpg", "dog.JPG", "sun.gif", "a.GiF", "100%.jpg", ".jpg"}) {
    EXPECT_EQ(EntryKind::Picture, ClassifyEntry(Rules(), name, false)) << name;
  }
  for (const char* name :
       {"photo.jpeg", "notes.txt", "beach.html", "beach.wav", "jpg", "x.jpg.bak"}) {
    EXPECT_EQ(EntryKind::Skipped, ClassifyEntry(Rules(), name, false)) << name;
  }
}

TEST(ClassifyEntry, FoldersBecomeSubAlbums) {
  EXPECT_EQ(EntryKind::SubAlbum, ClassifyEntry(Rules(true), "Trip", true));
  EXPECT_EQ(EntryKind::SubAlbum, ClassifyEntry(Rules(true), "Trip.2007", true));
  EXPECT_EQ(EntryKind::Skipped, ClassifyEntry(Rules(false), "Trip", true));
  // The extension admits a folder even without subfolders, and it stays a folder.
  EXPECT_EQ(EntryKind::SubAlbum, ClassifyEntry(Rules(false), "old.jpg", true));
  EXPECT_EQ(EntryKind::SubAlbum, ClassifyEntry(Rules(true), "index", true));
}

TEST(ClassifyEntry, APictureWhosePageWouldBeTheIndexPage) {
  EXPECT_EQ(EntryKind::PageWouldBeIndex, ClassifyEntry(Rules(), "index.gif", false));
  EXPECT_EQ(EntryKind::PageWouldBeIndex, ClassifyEntry(Rules(), "INDEX.GIF", false));
  EXPECT_EQ(EntryKind::Picture, ClassifyEntry(Rules(), "index.jpg.gif", false));
  EXPECT_EQ(EntryKind::Picture, ClassifyEntry(Rules(), "index2.gif", false));
  EXPECT_EQ(EntryKind::Picture, ClassifyEntry(Rules(), "index.html.gif", false));
}

TEST(CellValues, PictureValues) {
  const CellValues beach = PictureValues("+beach.jpg");
  EXPECT_EQ("+beach.jpg", beach.FileReference);
  EXPECT_EQ("+beach", beach.ReferenceWithoutExtension);
  EXPECT_EQ("Beach", beach.Caption);
  const CellValues percent = PictureValues("100%.jpg");
  EXPECT_EQ("100%.jpg", percent.FileReference);
  EXPECT_EQ("100%", percent.ReferenceWithoutExtension);
  EXPECT_EQ("100%", percent.Caption);
}

TEST(CellValues, SubAlbumValuesUseAForwardSlash) {
  const CellValues trip = SubAlbumValues("Trip.2007", "index.jpg");
  EXPECT_EQ("Trip.2007/index.jpg", trip.FileReference);
  EXPECT_EQ("Trip.2007/index", trip.ReferenceWithoutExtension);
  EXPECT_EQ("Trip", trip.Caption);
}

TEST(CellValues, NamesAreEscapedForHtml) {
  const CellValues picture = PictureValues("tom & \"jerry\" #1?.jpg");
  EXPECT_EQ(EscapeFileReference("tom & \"jerry\" #1?.jpg"), picture.FileReference);
  EXPECT_EQ(EscapeFileReference("tom & \"jerry\" #1?"), picture.ReferenceWithoutExtension);
  EXPECT_EQ(EscapeHtml("Tom & \"jerry\" #1?"), picture.Caption);
  EXPECT_EQ(std::string::npos, picture.FileReference.find('"'));
  EXPECT_EQ(std::string::npos, picture.FileReference.find('#'));
  const CellValues folder = SubAlbumValues("<a&b>", "index.jpg");
  EXPECT_EQ(EscapeFileReference("<a&b>/index.jpg"), folder.FileReference);
  EXPECT_EQ(EscapeHtml("<a&b>"), folder.Caption);
  EXPECT_EQ(std::string::npos, folder.Caption.find('<'));
}

}  // namespace
