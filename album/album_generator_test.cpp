#include "album/album_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/files.h"
#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

const std::string kHead = "<html><body><table>\r\n<tr>\r\n";
const std::string kCellTemplate =
    "<td><a href=\"__picture.html\"><img src=\"__picture.jpg\" width=\"120\" "
    "height=\"120\"></a><br>Picture text</td>\r\n";
const std::string kTail = "</tr>\r\n</table></body></html>\r\n";
const std::string kRowBreak = "</tr>\r\n<tr>\r\n";
const std::string kPictureTemplate =
    "<html><title>Picture text</title><img src=\"__picture.jpg\" width=\"400\" "
    "height=\"400\"><embed src=\"__picture.wav\"></html>";

std::string Cell(const std::string& link, const std::string& image, const std::string& caption,
                 const std::string& width = "120", const std::string& height = "120") {
  return "<td><a href=\"" + link + ".html\"><img src=\"" + image + "\" width=\"" + width +
         "\" height=\"" + height + "\"></a><br>" + caption + "</td>\r\n";
}

std::string GoBackCell() {
  return Cell("../index", "__goback.gif", "");
}

class GenerateFolderTest : public ::testing::Test {
 protected:
  GenerateFolderTest() {
    const std::string templates = dir_.MakeFolder("mallar") + "/";
    run_.Paths.IndexBaseName = "index";
    run_.Paths.PageExtension = ".html";
    run_.Paths.TemplatesFolder = templates;
    run_.Paths.GoBackImage = dir_.Write("mallar/__goback.gif", GifBytes(40, 40));
    run_.Paths.FolderImage = dir_.Write("mallar/index.jpg", JpegBytes(64, 64));
    run_.Paths.EmptySound = dir_.Write("mallar/emptysound.wav", "RIFF");
    run_.Templates.IndexTemplate = kHead + kCellTemplate + kCellTemplate + kTail;
    run_.Templates.PictureTemplate = kPictureTemplate;
    run_.Settings.Recording = RecordNever;
    run_.Settings.OpenBrowserWhenDone = false;
    run_.Windows = &windows_;
    album_ = dir_.MakeFolder("Album");
  }

  std::string Picture(const std::string& relative, const std::string& bytes) {
    return dir_.Write("Album/" + relative, bytes);
  }
  std::string Square(const std::string& relative) { return Picture(relative, GifBytes(30, 30)); }
  std::string Index(const std::string& sub = "") {
    return ReadFileBytes(album_ + sub + "/index.html");
  }
  void Generate() { GenerateFolder(run_, album_, 0); }

  TempDir dir_;
  RecordingWindows windows_;
  RunState run_;
  std::string album_;
};

TEST_F(GenerateFolderTest, FullRowsEndWithARowBreakBeforeTheTail) {
  for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif"}) {
    Square(name);
  }
  Generate();
  EXPECT_EQ(kHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") + kRowBreak +
                Cell("c", "c.gif", "C") + Cell("d", "d.gif", "D") + kRowBreak + kTail,
            Index());
  EXPECT_EQ(std::vector<std::string>(
                {album_ + "/a.gif", album_ + "/b.gif", album_ + "/c.gif", album_ + "/d.gif"}),
            windows_.lines_);
  EXPECT_EQ(1, windows_.finishes_);
  EXPECT_TRUE(windows_.messages_.empty());
}

TEST_F(GenerateFolderTest, APictureIsReadOnlyAsWhatItsExtensionSays) {
  Picture("fake.jpg", GifBytes(80, 40));
  Picture("odd.gif", JpegBytes(80, 40));
  Picture("wide.GIF", GifBytes(80, 40));
  Generate();
  EXPECT_EQ(kHead + Cell("fake", "fake.jpg", "Fake") + Cell("odd", "odd.gif", "Odd") + kRowBreak +
                Cell("wide", "wide.GIF", "Wide", "120", "60 ") + kTail,
            Index());
  EXPECT_NE(std::string::npos,
            ReadFileBytes(album_ + "/fake.html").find("width=\"400\" height=\"400\""));
}

TEST_F(GenerateFolderTest, SubAlbumWhoseLastCellCompletesARow) {
  Square("Full/a.gif");
  Square("Full/b.gif");
  Square("Half/c.gif");
  Generate();
  EXPECT_EQ(
      kHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") + kRowBreak + GoBackCell() + kTail,
      Index("/Full"));
  // One free place left: the way back fills it and no row break follows.
  EXPECT_EQ(kHead + Cell("c", "c.gif", "C") + GoBackCell() + kTail, Index("/Half"));
  EXPECT_EQ(kHead + Cell("Full/index", "Full/index.jpg", "Full") +
                Cell("Half/index", "Half/index.jpg", "Half") + kRowBreak + kTail,
            Index());
  EXPECT_EQ(GifBytes(40, 40), ReadFileBytes(album_ + "/Full/__goback.gif"));
  EXPECT_EQ(JpegBytes(64, 64), ReadFileBytes(album_ + "/Half/index.jpg"));
  EXPECT_EQ(1, windows_.finishes_);
}

TEST_F(GenerateFolderTest, ASubfolderWithoutPicturesIsReportedAndTheWalkGoesOn) {
  dir_.MakeFolder("Album/Empty");
  Square("z.gif");
  Generate();
  EXPECT_EQ(std::vector<std::string>({"Error: Hittade inga bilder i: \"" + album_ + "/Empty\""}),
            windows_.messages_);
  EXPECT_EQ(kHead + Cell("Empty/index", "Empty/index.jpg", "Empty") + Cell("z", "z.gif", "Z") +
                kRowBreak + kTail,
            Index());
  EXPECT_FALSE(FileExists(album_ + "/Empty/index.html"));
}

TEST_F(GenerateFolderTest, SupportImagesAndOtherFilesAreNoEntries) {
  for (const char* name : {"index.jpg", "INDEX.JPG", "__goback.gif", "__goback.jpg"}) {
    Picture(name, JpegBytes(10, 20));
  }
  dir_.Write("Album/photo.jpeg", JpegBytes(10, 10));
  dir_.Write("Album/old.html", "old page");
  Square("a.gif");
  Generate();
  EXPECT_EQ(std::vector<std::string>({album_ + "/a.gif"}), windows_.lines_);
  EXPECT_EQ(kHead + Cell("a", "a.gif", "A") + kTail, Index());
  // What was there stays: support images are copied only when absent.
  EXPECT_EQ(JpegBytes(10, 20), ReadFileBytes(album_ + "/__goback.gif"));
  EXPECT_EQ(JpegBytes(10, 20), ReadFileBytes(album_ + "/index.jpg"));
}

TEST_F(GenerateFolderTest, SameNameAsJpegAndGifShareOnePage) {
  Picture("a.jpg", JpegBytes(800, 600));
  Picture("a.gif", GifBytes(600, 800));
  Generate();
  EXPECT_EQ(kHead + Cell("a", "a.gif", "A", "90 ", "120") + Cell("a", "a.jpg", "A", "120", "90 ") +
                kRowBreak + kTail,
            Index());
  EXPECT_NE(std::string::npos, ReadFileBytes(album_ + "/a.html").find("src=\"a.jpg\""));
}

TEST_F(GenerateFolderTest, FolderNamesWithDotsAndExtensions) {
  Square("Trip.2007/a.gif");
  Square("old.jpg/b.gif");
  dir_.MakeFolder("Album/Plain");
  run_.Settings.IncludeSubfolders = false;
  Generate();
  // Without subfolders only the folder with a picture's extension is walked.
  EXPECT_EQ(kHead + Cell("old.jpg/index", "old.jpg/index.jpg", "Old") + kTail, Index());
  EXPECT_FALSE(FileExists(album_ + "/Trip.2007/index.html"));
  run_.Settings.IncludeSubfolders = true;
  windows_.messages_.clear();
  Generate();
  EXPECT_EQ(kHead + Cell("old.jpg/index", "old.jpg/index.jpg", "Old") +
                Cell("Plain/index", "Plain/index.jpg", "Plain") + kRowBreak +
                Cell("Trip.2007/index", "Trip.2007/index.jpg", "Trip") + kTail,
            Index());
  EXPECT_TRUE(FileExists(album_ + "/Trip.2007/a.html"));
}

TEST_F(GenerateFolderTest, PercentSignsStayAsTheyAre) {
  Square("100%.jpg");
  Generate();
  EXPECT_EQ(std::vector<std::string>({album_ + "/100%.jpg"}), windows_.lines_);
  EXPECT_EQ(kHead + Cell("100%", "100%.jpg", "100%") + kTail, Index());
  EXPECT_NE(std::string::npos, ReadFileBytes(album_ + "/100%.html").find("src=\"100%.jpg\""));
}

TEST_F(GenerateFolderTest, NamesAreEscapedInPagesAndCells) {
  Square("tom & <jerry>.gif");
  Square("no#1.gif");
  Square("x&y/a.gif");
  Generate();
  EXPECT_EQ(kHead + Cell("no%231", "no%231.gif", "No#1") +
                Cell("tom &amp; &lt;jerry&gt;", "tom &amp; &lt;jerry&gt;.gif",
                     "Tom &amp; &lt;jerry&gt;") +
                kRowBreak + Cell("x&amp;y/index", "x&amp;y/index.jpg", "X&amp;y") + kTail,
            Index());
  EXPECT_NE(
      std::string::npos,
      ReadFileBytes(album_ + "/tom & <jerry>.html")
          .find("<title>Tom &amp; &lt;jerry&gt;</title><img src=\"tom &amp; &lt;jerry&gt;.gif\""));
}

TEST_F(GenerateFolderTest, APictureWhosePageWouldBeTheIndexIsLeftOut) {
  Square("index.gif");
  Square("INDEX.GIF");
  Square("b.gif");
  Generate();
  EXPECT_EQ(kHead + Cell("b", "b.gif", "B") + kTail, Index());
  EXPECT_FALSE(FileExists(album_ + "/INDEX.html"));
  EXPECT_EQ(std::vector<std::string>(
                {album_ + "/b.gif",
                 "Hoppar över " + album_ + "/INDEX.GIF: sidan skulle skriva över indexsidan",
                 "Hoppar över " + album_ + "/index.gif: sidan skulle skriva över indexsidan"}),
            windows_.lines_);
}

}  // namespace
