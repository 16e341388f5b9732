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
#include "tests/test_support.h"

namespace {

const std::string kMallar = KORVALO_SHIPPED_MALLAR_DIR;
constexpr std::string_view kIndexSuffix = "_index.html";

/// Names of the shipped templates (the part before "_index.html").
std::vector<std::string> TemplateNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kMallar)) {
    const std::string file = entry.path().filename().string();
    if (file.size() > kIndexSuffix.size() && file.ends_with(kIndexSuffix)) {
      names.push_back(file.substr(0, file.size() - kIndexSuffix.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Read(const std::string& file) {
  return ReadFileBytes(kMallar + "/" + file);
}

int Count(std::string_view text, std::string_view what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

/// The number after the first `attribute="`, or -1 when there is none.
long FirstValue(std::string_view text, std::string_view attribute) {
  const std::string key = std::string(attribute) + "=\"";
  const auto at = text.find(key);
  if (at == std::string_view::npos) {
    return -1;
  }
  return std::strtol(std::string(text.substr(at + key.size(), 12)).c_str(), nullptr, 10);
}

/// The "</td>" the settings dialog counts: lines up to the first one holding "</tr>".
int DialogColumnCount(std::string_view text) {
  const auto rowEnd = text.find("</tr>");
  const auto lineEnd = text.find('\n', rowEnd);
  return Count(text.substr(0, lineEnd), "</td>");
}

TEST(ShippedTemplates, ComeInCompletePairsWithReadableText) {
  const auto names = TemplateNames();
  EXPECT_GE(names.size(), 3u);
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    for (const std::string& file : {name + "_index.html", name + "_picture.html"}) {
      const std::string text = Read(file);
      ASSERT_FALSE(text.empty()) << file;
      EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << file;
      EXPECT_NE(text.find("name=\"viewport\""), std::string::npos) << file;
      // CR LF throughout: the generator takes the two characters after a tag.
      EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n")) << file;
      EXPECT_EQ(Count(text, "<img"), Count(text, "loading=\"lazy\" decoding=\"async\"")) << file;
    }
  }
}

TEST(ShippedTemplates, IndexTemplatesCutIntoHeadOneCellAndTail) {
  for (const auto& name : TemplateNames()) {
    SCOPED_TRACE(name);
    const std::string text = Read(name + "_index.html");
    const auto row = text.find("<tr>");
    ASSERT_NE(row, std::string::npos);
    EXPECT_EQ(text.substr(row + 4, 2), "\r\n");
    const std::string head = text.substr(0, row + 6);
    const auto cellEnd = text.find("</td>", head.size());
    ASSERT_NE(cellEnd, std::string::npos);
    EXPECT_EQ(text.substr(cellEnd + 5, 2), "\r\n");
    const std::string cell = text.substr(head.size(), cellEnd + 7 - head.size());
    const auto rowEnd = text.find("</tr>");
    ASSERT_NE(rowEnd, std::string::npos);
    const std::string tail = text.substr(text.rfind("</td>") + 7);
    EXPECT_EQ(tail.find("</tr>"), 0u) << "the tail must start right after the row";
    EXPECT_EQ(text.find("</td>", rowEnd), std::string::npos);

    EXPECT_EQ(cell.rfind("<td>", 0), 0u);
    EXPECT_EQ(Count(cell, "<td"), 1);
    EXPECT_NE(cell.find("src=\"" + std::string(kPictureFileMarker) + "\""), std::string::npos);
    EXPECT_NE(cell.find("href=\"" + std::string(kPictureNameMarker) + ".html\""),
              std::string::npos);
    EXPECT_NE(cell.find(kCaptionMarker), std::string::npos);
    EXPECT_GT(FirstValue(cell, "width"), 0);
    EXPECT_EQ(FirstValue(cell, "width"), FirstValue(cell, "height"));

    // Head and tail are written as they stand: nothing in them may look like a
    // placeholder or a cell, or the pages and the proposed column count go wrong.
    for (const std::string& piece : {head, tail}) {
      EXPECT_EQ(piece.find(kPictureNameMarker), std::string::npos);
      EXPECT_EQ(piece.find(kCaptionMarker), std::string::npos);
      EXPECT_EQ(piece.find("</td>"), std::string::npos);
    }
    // The dialog's proposal and the generator's own count agree.
    const int columns = Count(std::string_view(text).substr(head.size()), "</td>");
    EXPECT_GE(columns, 2);
    EXPECT_EQ(DialogColumnCount(text), columns);
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
    EXPECT_GT(text.find("width=\""), picture);
    EXPECT_GT(text.find("height=\""), picture);
    EXPECT_GT(FirstValue(text, "width"), 0);
    EXPECT_EQ(FirstValue(text, "width"), FirstValue(text, "height"));

    EXPECT_NE(text.find("src=\"" + std::string(kPictureNameMarker) + ".wav\""), std::string::npos);
    EXPECT_NE(text.find("href=\"index.html\""), std::string::npos);
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
  EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");

  const std::string wav = Read("emptysound.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(wav.substr(20, 2), std::string("\x01\x00", 2)) << "plain PCM";
  EXPECT_EQ(wav.substr(36, 4), "data");
}

}  // namespace
