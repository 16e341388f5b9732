// Checks the data shipped in mallar/: every template pair must survive the
// generator's cutting and filling, and the support files must be what their
// names say.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "album/html_template.h"
#include "album/template_columns.h"
#include "tests/test_support.h"

namespace {

const std::string kMallar = KORVALO_SHIPPED_MALLAR_DIR;

/// Names of the shipped templates (the part before "_index.html").
std::vector<std::string> TemplateNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kMallar)) {
    const std::string file = entry.path().filename().string();
    if (file.ends_with("_index.html")) {
      names.push_back(file.substr(0, file.size() - 11));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Read(const std::string& file) {
  return ReadFileBytes(kMallar + "/" + file);
}

/// The number after the first `attribute="`, or -1 when there is none.
long FirstValue(std::string_view text, std::string_view attribute) {
  const std::string key = std::string(attribute) + "=\"";
  const auto at = text.find(key);
  return at == std::string_view::npos
             ? -1
             : std::strtol(std::string(text.substr(at + key.size(), 12)).c_str(), nullptr, 10);
}

void ExpectSquareBox(std::string_view text) {
  EXPECT_GT(FirstValue(text, "width"), 0);
  EXPECT_EQ(FirstValue(text, "width"), FirstValue(text, "height"));
}

TEST(ShippedTemplates, IndexTemplatesCutIntoHeadOneCellAndTail) {
  const auto names = TemplateNames();
  EXPECT_GE(names.size(), 3u);
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const std::string text = Read(name + "_index.html");
    ASSERT_TRUE(IndexTemplateIsUsable(text));
    const IndexLayout layout = SplitIndexTemplate(text, 0);
    // The generator takes the two characters after "<tr>" and "</td>" as the line end.
    EXPECT_TRUE(layout.Head.ends_with("<tr>\r\n"));
    EXPECT_TRUE(layout.CellTemplate.ends_with("</td>\r\n"));
    EXPECT_TRUE(layout.CellTemplate.starts_with("<td>"));
    EXPECT_TRUE(layout.Tail.starts_with("</tr>")) << "the tail must start right after the row";
    const std::string_view cell = layout.CellTemplate;
    EXPECT_EQ(cell.find("<td", 1), std::string_view::npos);
    EXPECT_NE(cell.find("src=\"" + std::string(kPictureFileMarker) + "\""), std::string::npos);
    EXPECT_NE(cell.find("href=\"" + std::string(kPictureNameMarker) + ".html\""),
              std::string::npos);
    EXPECT_NE(cell.find(kCaptionMarker), std::string::npos);
    ExpectSquareBox(cell);
    // Head and tail are written as they stand: nothing in them may look like a
    // placeholder or a cell, or the pages and the proposed column count go wrong.
    for (const std::string_view piece : {layout.Head, layout.Tail}) {
      EXPECT_EQ(piece.find(kPictureNameMarker), std::string::npos);
      EXPECT_EQ(piece.find(kCaptionMarker), std::string::npos);
      EXPECT_EQ(piece.find("</td>"), std::string::npos);
    }
    // The proposed column count and the generator's own agree.
    EXPECT_GE(layout.Columns, 2);
    EXPECT_EQ(CountTemplateColumns(kMallar + "/" + name + "_index.html"), layout.Columns);
  }
}

TEST(ShippedTemplates, PicturePagesFitThePictureAndOfferTheComment) {
  for (const auto& name : TemplateNames()) {
    SCOPED_TRACE(name);
    const std::string text = Read(name + "_picture.html");
    // The first width/height pair is the one fitted: it must be the picture's.
    const auto picture = text.find("<img src=\"" + std::string(kPictureFileMarker) + "\"");
    ASSERT_NE(picture, std::string::npos);
    EXPECT_EQ(text.find("<img"), picture);
    EXPECT_GT(std::min(text.find("width=\""), text.find("height=\"")), picture);
    ExpectSquareBox(text);
    EXPECT_NE(text.find("src=\"" + std::string(kPictureNameMarker) + ".wav\""), std::string::npos);
    EXPECT_NE(text.find("<title>" + std::string(kCaptionMarker) + "</title>"), std::string::npos);
  }
}

TEST(ShippedTemplates, SupportFilesAreWhatTheirNamesSay) {
  const std::string gif = Read("__goback.gif");
  ASSERT_GE(gif.size(), 10u);
  EXPECT_EQ(gif.substr(0, 4), "GIF8");
  // Square, so the go-back cell keeps the template's box.
  EXPECT_EQ(gif.substr(6, 2), gif.substr(8, 2));
  const std::string jpeg = Read("index.jpg");
  ASSERT_GE(jpeg.size(), 4u);
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
  const std::string wav = Read("emptysound.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
}

}  // namespace
