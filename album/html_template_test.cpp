#include "album/html_template.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const std::string kHead = "<table>\r\n<tr>\r\n";
const std::string kCell = "<td><img src=\"__picture.jpg\">Picture text</td>\r\n";
const std::string kTail = "</tr>\r\n</table>\r\n";

TEST(SplitIndexTemplate, CutsHeadCellAndTailAndCountsColumns) {
  const struct {
    std::string Text;
    int ThumbnailsPerRow;
    std::string Head, Cell, Tail, RowBreak;
    int Columns;
  } cases[] = {
      // The tail follows the last cell, whichever row it is in.
      {kHead + kCell + kCell + "</tr>\r\n<tr>\r\n" + kCell + kTail, -4, kHead, kCell, kTail,
       "</tr>\r\n<tr>\r\n", 1},
      // Each tag takes the line end that follows it along, LF as well as CR LF or none.
      {"<table>\n<tr>\n<td>a</td>\n<td>b</td>\n</tr>\n</table>\n", 0, "<table>\n<tr>\n",
       "<td>a</td>\n", "</tr>\n</table>\n", "</tr>\n<tr>\n", 2},
      {"<tr><td></td>x", 0, "<tr>", "<td></td>", "x", "</tr><tr>", 1},
      {"<tr>\r\n<td>1</td>\r\n<td>2</td>", 0, "<tr>\r\n", "<td>1</td>\r\n", "", "</tr>\r\n<tr>\r\n",
       2},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(IndexTemplateIsUsable(c.Text)) << c.Text;
    const IndexLayout layout = SplitIndexTemplate(c.Text, c.ThumbnailsPerRow);
    EXPECT_EQ(
        std::tuple(layout.Head, layout.CellTemplate, layout.Tail, layout.RowBreak, layout.Columns),
        std::tuple(c.Head, c.Cell, c.Tail, c.RowBreak, c.Columns));
  }
}

// How an unusable template is split is fuzzed.
TEST(SplitIndexTemplate, TemplatesWithoutRowOrCellAreNotUsable) {
  for (const std::string_view text :
       {"", "<html></html>", "<TR>\r\n<td></td>", "<tr class=\"x\"><td></td>",
        "<tr>\r\n<td>no end</TD>", "<td></td><tr>"}) {
    EXPECT_FALSE(IndexTemplateIsUsable(text)) << text;
  }
}

// Fuzzing compares it with an editor's replace loop; this checks what a short run misses.
TEST(ReplaceAll, AnEmptyMarkerReplacesNothingAndTheTextMayGrowWithoutLimit) {
  std::string text = "keep";
  ReplaceAll(text, "", "y");
  EXPECT_EQ(text, "keep");
  text = std::string(2000, 'm');
  ReplaceAll(text, "m", std::string(1000, 'r'));
  EXPECT_TRUE(text == std::string(2000000, 'r'));
}

TEST(FillPlaceholders, MarkersInsideValuesAreInsertedOnceAndAnEmptyCaptionRemovesThem) {
  std::string cell = "__picture.jpg|__picture.html|Picture text|Picture text";
  FillPlaceholders(cell, "Picture text.jpg", "Picture text", "Picture text");
  EXPECT_EQ(cell, "Picture text.jpg|Picture text.html|Picture text|Picture text");
  cell = "<td>__picture.jpg Picture text<br>Picture text</td>";
  FillPlaceholders(cell, "__picture.jpg", "__picture", "");
  EXPECT_EQ(cell, "<td>__picture.jpg <br></td>");
}

TEST(CaptionFromName, DropsOnePlusAndUpperCasesOnlyAsciiLetters) {
  const std::pair<const char*, const char*> cases[] = {
      {"+beach", "Beach"},          {"++x", "+x"}, {"\xe5sa", "\xe5sa"},
      {"\xc3\xa5sa", "\xc3\xa5sa"}, {"", ""},      {"+", ""},
  };
  for (const auto& [name, caption] : cases) {
    EXPECT_EQ(CaptionFromName(name), caption) << name;
  }
}

TEST(EscapeHtml, EscapesTextAndFileReferencesForTheirPlaceInAPage) {
  EXPECT_EQ(EscapeHtml("<b>'a' \"b\" & #1? 100%</b>"),
            "&lt;b&gt;&#39;a&#39; &quot;b&quot; &amp; #1? 100%&lt;/b&gt;");
  EXPECT_EQ(EscapeHtml("\xc3\xa5sa"), "\xc3\xa5sa");
  const std::pair<const char*, const char*> references[] = {
      {"Party #1 & why?.jpg", "Party %231 &amp; why%3F.jpg"},
      {"a\\e'#'_", "a%5Ce&#39;%23&#39;_"},
      // Only a '%' that a browser would decode is escaped itself.
      {"a%20b%ff%Fe %4g %a %", "a%2520b%25ff%25Fe %4g %a %"},
      {"x\ny\t\x1F\x7F\xc3\xa5.jpg", "x%0Ay%09%1F%7F\xc3\xa5.jpg"},
  };
  for (const auto& [reference, escaped] : references) {
    EXPECT_EQ(EscapeFileReference(reference), escaped);
  }
}

}  // namespace
