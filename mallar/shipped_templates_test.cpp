// Checks the data shipped in mallar/, as the build lays it out in bin/mallar/: every
// template pair must survive the generator's cutting and filling, and the support
// files must be what their names say.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "album/html_template.h"
#include "album/picture_size.h"
#include "album/template_columns.h"
#include "tests/test_support.h"

namespace {

const std::string kMallar = std::string(KORVALO_SHIPPED_MALLAR_DIR) + "/";
const std::string kFile(kPictureFileMarker), kName(kPictureNameMarker), kCaption(kCaptionMarker);

// The first width/height pair is a square box the generator can fit.
void ExpectSquareBox(std::string_view text) {
  std::string fitted(text);
  FitImageBoxToSize(fitted, {2, 1});
  EXPECT_NE(fitted, text) << "no square box";
}

TEST(ShippedTemplates, EveryPairSurvivesCuttingAndFittingAndSupportFilesAreSound) {
  int pairs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kMallar)) {
    const std::string index = entry.path().string();
    if (!index.ends_with("_index.html")) {
      continue;
    }
    ++pairs;
    SCOPED_TRACE(index);
    const std::string text = ReadFileBytes(index);
    const IndexLayout layout = SplitIndexTemplate(text, 0);
    // The generator takes the two characters after "<tr>" and "</td>" as the line end.
    EXPECT_TRUE(layout.Head.ends_with("<tr>\r\n") && layout.CellTemplate.ends_with("</td>\r\n"));
    EXPECT_TRUE(layout.Tail.starts_with("</tr>")) << "the tail must start right after the row";
    // Small copies in the cells, at twice the size on dense screens, and the
    // screen-sized copy for the slideshow.
    for (const std::string& part :
         {std::string("src=\"__thumbnail.jpg\" srcset=\"__thumbnail2x.jpg 2x\""),
          std::string("data-bildspel=\"__screen.jpg\""), "href=\"" + kName + ".html\"", kCaption}) {
      EXPECT_NE(layout.CellTemplate.find(part), std::string::npos) << part;
    }
    ExpectSquareBox(layout.CellTemplate);
    // Head and tail are written as they stand: nothing in them may look like a
    // placeholder or a cell, or the pages and the proposed column count go wrong.
    for (const std::string_view piece : {layout.Head, layout.Tail}) {
      for (const std::string& part : {kName, kCaption, std::string("</td>")}) {
        EXPECT_EQ(piece.find(part), std::string::npos) << part;
      }
    }
    EXPECT_EQ(CountTemplateColumns(index), layout.Columns);
    EXPECT_NE(layout.Tail.find("<script>"), std::string_view::npos)
        << "the slideshow is not inline";

    const std::string page = ReadFileBytes(index.substr(0, index.size() - 10) + "picture.html");
    // The first width/height pair is the one fitted: it must be the picture's,
    // shown as the screen-sized copy with the original one click away.
    const auto picture = page.find("<img src=\"__screen.jpg\"");
    EXPECT_NE(page.find("<a href=\"" + kFile + "\">Visa originalet</a>"), std::string::npos);
    EXPECT_EQ(page.find("<img"), picture);
    EXPECT_GT(std::min(page.find("width=\""), page.find("height=\"")), picture);
    ExpectSquareBox(page);
    EXPECT_NE(page.find("src=\"" + kName + ".wav\""), std::string::npos);
    // The neighbours' links, each in a section left out at its end of the
    // album, and the keys and swipe that follow them.
    for (const char* link : {"<!--previous--><a href=\"__previous.html\" rel=\"prev\">",
                             "<!--next--><a href=\"__next.html\" rel=\"next\">"}) {
      EXPECT_NE(page.find(link), std::string::npos) << link;
    }
    EXPECT_NE(page.find("<script>"), std::string::npos) << "the keys' script is not inline";
    EXPECT_NE(page.find("<title>" + kCaption + "</title>"), std::string::npos);
  }
  EXPECT_GE(pairs, 3);

  PictureSize goBack, folder;
  ASSERT_TRUE(ReadGifSize(kMallar + "__goback.gif", goBack));
  EXPECT_EQ(goBack.Width, goBack.Height);  // so the go-back cell keeps the template's box
  EXPECT_TRUE(ReadJpegSize(kMallar + "index.jpg", folder));
  const std::string wav = ReadFileBytes(kMallar + "emptysound.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
}

}  // namespace
