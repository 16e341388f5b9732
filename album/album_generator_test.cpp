#include "album/album_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "album/picture_size.h"
#include "album/pixel_image.h"
#include "app/files.h"
#include "platform/file_system.h"
#include "platform/picture_codec.h"
#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

const std::string kGoBack = Cell("../index", "__goback.gif", "");

class GenerateFolderTest : public ::testing::Test {
 protected:
  GenerateFolderTest() {
    InitRunState(run_, dir_ / "korvalo");
    dir_.Write("mallar/__goback.gif", GifBytes(40, 40));
    dir_.Write("mallar/index.jpg", JpegBytes(64, 64));
    run_.Templates.IndexTemplate = kTwoColumnIndex;
    run_.Templates.PictureTemplate = "<img src=\"__picture.jpg\" width=\"400\" height=\"400\">";
    run_.Settings.Recording = RecordNever;
    run_.Settings.OpenBrowserWhenDone = false;
    run_.Windows = &windows_;
  }

  std::string Read(const std::string& relative) { return ReadFileBytes(album_ + "/" + relative); }

  TempDir dir_;
  RecordingWindows windows_;
  RunState run_;
  std::string album_ = dir_.MakeFolder("Album");
};

// One tree with the corner cases of a walk, in NTFS order: a.gif and a.jpg
// share a page, Empty has no pictures, Full's last row is full, the support
// images already there stay, and index.gif's page would be the index page.
TEST_F(GenerateFolderTest, ATreeOfCornerCases) {
  dir_.Write("Album/a.jpg", JpegBytes(800, 600));
  dir_.Write("Album/a.gif", GifBytes(600, 800));
  dir_.MakeFolder("Album/Empty");
  for (const char* name : {"Full/a.gif", "Full/b.gif", "index.gif", "INDEX.GIF"}) {
    dir_.Write(std::string("Album/") + name, GifBytes(30, 30));
  }
  dir_.Write("Album/index.jpg", JpegBytes(10, 20));
  dir_.Write("Album/__goback.gif", JpegBytes(10, 20));
  GenerateFolder(run_, album_, 0);
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A", "90 ", "120") +
                Cell("a", "a.jpg", "A", "120", "90 ") + kNextRow +
                Cell("Empty/index", "Empty/index.jpg", "Empty") +
                Cell("Full/index", "Full/index.jpg", "Full") + kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_NE(std::string::npos, Read("a.html").find("src=\"a.jpg\""));
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") + kNextRow + kGoBack +
                kIndexTail,
            Read("Full/index.html"));
  EXPECT_EQ(std::vector<std::string>({"Error: Hittade inga bilder i: \"" + album_ + "/Empty\""}),
            windows_.messages_);
  EXPECT_FALSE(FileExists(album_ + "/Empty/index.html") || FileExists(album_ + "/Empty/index.jpg"));
  EXPECT_EQ(JpegBytes(10, 20) + JpegBytes(10, 20), Read("__goback.gif") + Read("index.jpg"));
  EXPECT_FALSE(FileExists(album_ + "/INDEX.html"));
  const std::string skip = "\": sidan skulle skriva över indexsidan";
  EXPECT_EQ(
      std::vector<std::string>({album_ + "/a.gif", album_ + "/a.jpg", album_ + "/Empty",
                                album_ + "/Full", album_ + "/Full/a.gif", album_ + "/Full/b.gif",
                                "Hoppar över \"" + album_ + "/INDEX.GIF" + skip,
                                "Hoppar över \"" + album_ + "/index.gif" + skip}),
      windows_.lines_);
  EXPECT_EQ(1, windows_.finishes_);
  EXPECT_FALSE(FileExists(album_ + "/__kopior"));  // the template asks for no copies
}

// Where the templates ask for them, the cells get small copies and the page a
// screen-sized one, each never larger than its picture, made again only when
// the picture changed; a picture that went takes its copies along.
TEST_F(GenerateFolderTest, CopiesOnlyWhereTheyAreSmallerAndOnlyOnce) {
  run_.Templates.IndexTemplate =
      kIndexHead + "<td>__thumbnail.jpg __thumbnail2x.jpg</td>\r\n" + kIndexTail;
  run_.Templates.PictureTemplate = "<img src=\"__screen.jpg\"> __picture.jpg";
  PixelImage pixels;
  pixels.Resize(2000, 1000);
  std::string jpeg;
  ASSERT_TRUE(PictureCodec().EncodeJpeg(pixels.Pixels.data(), 2000, 1000, 80, jpeg));
  dir_.Write("Album/big #1.jpg", jpeg);
  dir_.Write("Album/small.gif", GifBytes(300, 200));
  dir_.Write("Album/broken.jpg", jpeg.substr(0, 100));
  GenerateFolder(run_, album_, 0);
  EXPECT_EQ(kIndexHead +
                "<td>__kopior/big %231.jpg.400.jpg __kopior/big %231.jpg.800.jpg</td>\r\n" +
                kNextRow + "<td>broken.jpg broken.jpg</td>\r\n" + kNextRow +
                "<td>small.gif small.gif</td>\r\n" + kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_EQ("<img src=\"__kopior/big %231.jpg.1600.jpg\"> big %231.jpg", Read("big #1.html"));
  EXPECT_NE(std::find(windows_.lines_.begin(), windows_.lines_.end(),
                      "Inga mindre kopior av \"" + album_ +
                          "/broken.jpg\" (bilden är skadad): sidorna visar originalet"),
            windows_.lines_.end());
  for (const auto& [side, width, height] :
       {std::tuple{400, 400, 200}, {800, 800, 400}, {1600, 1600, 800}}) {
    PictureSize size;
    EXPECT_TRUE(
        ReadJpegSize(album_ + "/__kopior/big #1.jpg." + std::to_string(side) + ".jpg", size));
    EXPECT_EQ(std::pair(size.Width, size.Height), std::pair(width, height)) << side;
  }
  const auto copy = StampOf(album_ + "/__kopior/big #1.jpg.400.jpg");
  std::filesystem::rename(album_ + "/__kopior/big #1.jpg.800.jpg", album_ + "/__kopior/other");
  GenerateFolder(run_, album_, 0);
  EXPECT_EQ(copy, StampOf(album_ + "/__kopior/big #1.jpg.400.jpg"));  // not made again
  EXPECT_TRUE(FileExists(album_ + "/__kopior/big #1.jpg.800.jpg"));   // missing, so made
  EXPECT_TRUE(FileExists(album_ + "/__kopior/other"));                // not a copy's name: not ours
  std::filesystem::remove(album_ + "/big #1.jpg");
  GenerateFolder(run_, album_, 0);
  EXPECT_FALSE(FileExists(album_ + "/__kopior/big #1.jpg.400.jpg"));
  EXPECT_FALSE(FileExists(album_ + "/__kopior/big #1.jpg.1600.jpg"));
}

// A name is data: a marker in it is never filled, it never reads as a
// scheme, and a byte of no UTF-8 character never turns into another name.
TEST_F(GenerateFolderTest, EveryNameLinksToItsOwnPageAndPictureOnly) {
  const struct {
    const char* Name;
    const char* Link;
    const char* Caption;
  } cases[] = {
      {"Picture text\\..\\..\\elsewhere.html#.jpg", "Picture text%5C..%5C..%5Celsewhere.html%23",
       "Picture text\\..\\..\\elsewhere.html#"},
      {"aPicture text.jpg", "aPicture text", "APicture text"},
      {"x__picture.jpg", "x__picture", "X__picture"},
      {"javascript:alert(document.domain).jpg", "javascript%3Aalert(document.domain)",
       "Javascript:alert(document.domain)"},
      {"caf\xE9.jpg", "caf%E9", "Caf\xE9"},
      {"caf\xEF\xBF\xBD.gif", "caf\xEF\xBF\xBD", "Caf\xEF\xBF\xBD"},
      {"\xC3\xA5sa.jpg", "\xC3\xA5sa", "\xC3\xA5sa"},
  };
  run_.Templates.PictureTemplate =
      "<img src=\"__picture.jpg\"><a href=\"__picture.wav\">Picture text</a>";
  run_.Settings.ThumbnailsPerRow = 100;
  for (const auto& c : cases) {
    dir_.Write("Album/" + std::string(c.Name), GifBytes(30, 30));
  }
  GenerateFolder(run_, album_, 0);
  for (const auto& c : cases) {
    const std::string name = c.Name;
    const std::string image = c.Link + name.substr(name.rfind('.'));
    EXPECT_NE(Read("index.html").find(Cell(c.Link, image, c.Caption)), std::string::npos) << c.Name;
    EXPECT_EQ(Read(name.substr(0, name.rfind('.')) + ".html"),
              "<img src=\"" + image + "\"><a href=\"" + c.Link + ".wav\">" + c.Caption + "</a>")
        << c.Name;
  }
}

// A picture page names the pictures before and after it in the album's
// order: a sub-album between them is none, and where there is none the
// template's section for it is left out.
TEST_F(GenerateFolderTest, PicturePagesLeadToTheirNeighbours) {
  run_.Templates.PictureTemplate =
      "<!--previous-->[__previous.html Previous text]<!--/previous-->__picture"
      "<!--next-->[__next.html Next text]<!--/next-->";
  for (const char* name : {"a #1.jpg", "b.gif", "c/Solo.gif", "e&f.jpg"}) {
    dir_.Write("Album/" + std::string(name), GifBytes(10, 10));
  }
  GenerateFolder(run_, album_, 0);
  EXPECT_EQ("a %231<!--next-->[b.html B]<!--/next-->", Read("a #1.html"));
  EXPECT_EQ(
      "<!--previous-->[a %231.html A #1]<!--/previous-->b<!--next-->[e&amp;f.html "
      "E&amp;f]<!--/next-->",
      Read("b.html"));
  EXPECT_EQ("<!--previous-->[b.html B]<!--/previous-->e&amp;f", Read("e&f.html"));
  EXPECT_EQ("Solo", Read("c/Solo.html"));
}

TEST_F(GenerateFolderTest, WithoutSubfoldersOnlyAFolderWithAPictureExtensionIsWalked) {
  dir_.Write("Album/Trip.2007/a.gif", GifBytes(30, 30));
  dir_.Write("Album/old.jpg/b.gif", GifBytes(30, 30));
  run_.Settings.IncludeSubfolders = false;
  GenerateFolder(run_, album_, 0);
  EXPECT_EQ(kIndexHead + Cell("old.jpg/index", "old.jpg/index.jpg", "Old") + kIndexTail,
            Read("index.html"));
  EXPECT_TRUE(FileExists(album_ + "/old.jpg/b.html") &&
              !FileExists(album_ + "/Trip.2007/index.html"));
}

}  // namespace
