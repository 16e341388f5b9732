// Checks the data shipped in mallar/: every template pair must survive the
// generator's cutting and filling, and the support files must be what their
// names say.

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "album/html_template.h"
#include "album/picture_size.h"
#include "album/template_columns.h"
#include "tests/test_support.h"

namespace {

const std::string kMallar = std::string(KORVALO_SHIPPED_MALLAR_DIR) + "/";

// The first width/height pair is a square box the generator can fit.
void ExpectSquareBox(std::string_view text) {
  std::string fitted(text);
  FitImageBoxToSize(fitted, {2, 1});
  EXPECT_NE(fitted, text) << "no square box";
}

TEST(ShippedTemplates, EveryPairSurvivesCuttingAndFittingAndSupportFilesAreSound) {
  int pairs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kMallar)) {
    const std::string file = entry.path().filename().string();
    if (!file.ends_with("_index.html")) {
      continue;
    }
    ++pairs;
    const std::string name = file.substr(0, file.size() - 11);
    SCOPED_TRACE(name);
    const std::string text = ReadFileBytes(kMallar + name + "_index.html");
    const IndexLayout layout = SplitIndexTemplate(text, 0);
    // The generator takes the two characters after "<tr>" and "</td>" as the line end.
    EXPECT_TRUE(layout.Head.ends_with("<tr>\r\n"));
    EXPECT_TRUE(layout.CellTemplate.ends_with("</td>\r\n"));
    EXPECT_TRUE(layout.Tail.starts_with("</tr>")) << "the tail must start right after the row";
    const std::string cell(layout.CellTemplate);
    for (const std::string& part :
         {"src=\"" + std::string(kPictureFileMarker) + "\"",
          "href=\"" + std::string(kPictureNameMarker) + ".html\"", std::string(kCaptionMarker)}) {
      EXPECT_NE(cell.find(part), std::string::npos) << part;
    }
    ExpectSquareBox(cell);
    // Head and tail are written as they stand: nothing in them may look like a
    // placeholder or a cell, or the pages and the proposed column count go wrong.
    for (const std::string_view piece : {layout.Head, layout.Tail}) {
      for (const std::string_view part :
           {kPictureNameMarker, kCaptionMarker, std::string_view("</td>")}) {
        EXPECT_EQ(piece.find(part), std::string::npos) << part;
      }
    }
    // The proposed column count and the generator's own agree.
    EXPECT_EQ(CountTemplateColumns(kMallar + name + "_index.html"), layout.Columns);

    const std::string page = ReadFileBytes(kMallar + name + "_picture.html");
    // The first width/height pair is the one fitted: it must be the picture's.
    const auto picture = page.find("<img src=\"" + std::string(kPictureFileMarker) + "\"");
    EXPECT_EQ(page.find("<img"), picture);
    EXPECT_GT(std::min(page.find("width=\""), page.find("height=\"")), picture);
    ExpectSquareBox(page);
    EXPECT_NE(page.find("src=\"" + std::string(kPictureNameMarker) + ".wav\""), std::string::npos);
    EXPECT_NE(page.find("<title>" + std::string(kCaptionMarker) + "</title>"), std::string::npos);
  }
  EXPECT_GE(pairs, 3);

  // The support files are what their names say.
  PictureSize goBack, folder;
  ASSERT_TRUE(ReadGifSize(kMallar + "__goback.gif", goBack));
  // Square, so the go-back cell keeps the template's box.
  EXPECT_EQ(goBack.Width, goBack.Height);
  EXPECT_TRUE(ReadJpegSize(kMallar + "index.jpg", folder));
  const std::string wav = ReadFileBytes(kMallar + "emptysound.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
}

}  // namespace
