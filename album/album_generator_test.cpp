#include "album/album_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/files.h"
#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

const std::string kGoBack = Cell("../index", "__goback.gif", "");

class GenerateFolderTest : public ::testing::Test {
 protected:
  GenerateFolderTest() {
    run_.Paths.IndexBaseName = "index";
    run_.Paths.PageExtension = ".html";
    run_.Paths.TemplatesFolder = dir_.MakeFolder("mallar") + "/";
    run_.Paths.GoBackImage = dir_.Write("mallar/__goback.gif", GifBytes(40, 40));
    run_.Paths.FolderImage = dir_.Write("mallar/index.jpg", JpegBytes(64, 64));
    run_.Paths.EmptySound = dir_.Write("mallar/emptysound.wav", "RIFF");
    run_.Templates.IndexTemplate = kTwoColumnIndex;
    run_.Templates.PictureTemplate =
        "<html><title>Picture text</title><img src=\"__picture.jpg\" width=\"400\" "
        "height=\"400\"><embed src=\"__picture.wav\"></html>";
    run_.Settings.Recording = RecordNever;
    run_.Settings.OpenBrowserWhenDone = false;
    run_.Windows = &windows_;
    album_ = dir_.MakeFolder("Album");
  }

  void Picture(const std::string& relative, const std::string& bytes) {
    dir_.Write("Album/" + relative, bytes);
  }
  void Square(const std::string& relative) { Picture(relative, GifBytes(30, 30)); }
  std::string Read(const std::string& relative) { return ReadFileBytes(album_ + "/" + relative); }
  void Generate() { GenerateFolder(run_, album_, 0); }

  TempDir dir_;
  RecordingWindows windows_;
  RunState run_;
  std::string album_;
};

TEST_F(GenerateFolderTest, AFullLastRowPutsTheWayBackOnARowOfItsOwn) {
  Square("Full/a.gif");
  Square("Full/b.gif");
  Generate();
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") + kNextRow + kGoBack +
                kIndexTail,
            Read("Full/index.html"));
  EXPECT_EQ(1, windows_.finishes_);
}

TEST_F(GenerateFolderTest, ASubfolderWithoutPicturesIsReportedAndTheWalkGoesOn) {
  dir_.MakeFolder("Album/Empty");
  Square("z.gif");
  Generate();
  EXPECT_EQ(std::vector<std::string>({"Error: Hittade inga bilder i: \"" + album_ + "/Empty\""}),
            windows_.messages_);
  EXPECT_EQ(kIndexHead + Cell("Empty/index", "Empty/index.jpg", "Empty") + Cell("z", "z.gif", "Z") +
                kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_FALSE(FileExists(album_ + "/Empty/index.html"));
}

TEST_F(GenerateFolderTest, SupportImagesAlreadyThereAreNoEntriesAndStay) {
  Picture("index.jpg", JpegBytes(10, 20));
  Picture("__goback.gif", JpegBytes(10, 20));
  Square("a.gif");
  Generate();
  EXPECT_EQ(std::vector<std::string>({album_ + "/a.gif"}), windows_.lines_);
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + kIndexTail, Read("index.html"));
  EXPECT_EQ(JpegBytes(10, 20), Read("__goback.gif"));
  EXPECT_EQ(JpegBytes(10, 20), Read("index.jpg"));
}

TEST_F(GenerateFolderTest, SameNameAsJpegAndGifShareOnePage) {
  Picture("a.jpg", JpegBytes(800, 600));
  Picture("a.gif", GifBytes(600, 800));
  Generate();
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A", "90 ", "120") +
                Cell("a", "a.jpg", "A", "120", "90 ") + kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_NE(std::string::npos, Read("a.html").find("src=\"a.jpg\""));
}

TEST_F(GenerateFolderTest, WithoutSubfoldersOnlyAFolderWithAPictureExtensionIsWalked) {
  Square("Trip.2007/a.gif");
  Square("old.jpg/b.gif");
  run_.Settings.IncludeSubfolders = false;
  Generate();
  EXPECT_EQ(kIndexHead + Cell("old.jpg/index", "old.jpg/index.jpg", "Old") + kIndexTail,
            Read("index.html"));
  EXPECT_TRUE(FileExists(album_ + "/old.jpg/b.html"));
  EXPECT_FALSE(FileExists(album_ + "/Trip.2007/index.html"));
}

TEST_F(GenerateFolderTest, NamesAreEscapedInPagesAndCellsAndPercentStays) {
  Square("100%.jpg");
  Square("tom & <jerry>.gif");
  Square("no#1.gif");
  Square("x&y/a.gif");
  Generate();
  EXPECT_EQ(kIndexHead + Cell("100%", "100%.jpg", "100%") + Cell("no%231", "no%231.gif", "No#1") +
                kNextRow +
                Cell("tom &amp; &lt;jerry&gt;", "tom &amp; &lt;jerry&gt;.gif",
                     "Tom &amp; &lt;jerry&gt;") +
                Cell("x&amp;y/index", "x&amp;y/index.jpg", "X&amp;y") + kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_NE(std::string::npos,
            Read("tom & <jerry>.html")
                .find("<title>Tom &amp; &lt;jerry&gt;</title><img src=\"tom &amp; "
                      "&lt;jerry&gt;.gif\""));
  EXPECT_NE(std::string::npos, Read("100%.html").find("src=\"100%.jpg\""));
  EXPECT_EQ(album_ + "/100%.jpg", windows_.lines_.at(0));
}

TEST_F(GenerateFolderTest, APictureWhosePageWouldBeTheIndexIsLeftOut) {
  Square("index.gif");
  Square("INDEX.GIF");
  Square("b.gif");
  Generate();
  EXPECT_EQ(kIndexHead + Cell("b", "b.gif", "B") + kIndexTail, Read("index.html"));
  EXPECT_FALSE(FileExists(album_ + "/INDEX.html"));
  EXPECT_EQ(std::vector<std::string>(
                {album_ + "/b.gif",
                 "Hoppar över " + album_ + "/INDEX.GIF: sidan skulle skriva över indexsidan",
                 "Hoppar över " + album_ + "/index.gif: sidan skulle skriva över indexsidan"}),
            windows_.lines_);
}

}  // namespace
