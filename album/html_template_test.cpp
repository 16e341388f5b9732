#include "album/html_template.h"

#include <gtest/gtest.h>

namespace {

const std::string kCell =
    "<td><a href=\"__picture.html\"><img src=\"__picture.jpg\" width=\"120\" "
    "height=\"120\"></a><br>Picture text</td>";

std::string CrLfIndex(int cellsPerRow, int rows) {
  std::string text = "<html><body><table>\r\n";
  for (int row = 0; row < rows; ++row) {
    text += "<tr>\r\n";
    for (int cell = 0; cell < cellsPerRow; ++cell) {
      text += kCell + "\r\n";
    }
    text += "</tr>\r\n";
  }
  return text + "</table></body></html>\r\n";
}

TEST(SplitIndexTemplate, CrLfTemplateWithTwoCells) {
  const std::string text = CrLfIndex(2, 1);
  ASSERT_TRUE(IndexTemplateIsUsable(text));
  const IndexLayout layout = SplitIndexTemplate(text, 0);
  EXPECT_EQ(layout.Head, "<html><body><table>\r\n<tr>\r\n");
  EXPECT_EQ(layout.CellTemplate, kCell + "\r\n");
  EXPECT_EQ(layout.Tail, "</tr>\r\n</table></body></html>\r\n");
  EXPECT_EQ(layout.Columns, 2);
}

TEST(SplitIndexTemplate, ColumnsCountEveryCellOrFollowTheSetting) {
  EXPECT_EQ(SplitIndexTemplate(CrLfIndex(4, 1), 0).Columns, 4);
  // All rows count, not only the first.
  EXPECT_EQ(SplitIndexTemplate(CrLfIndex(3, 2), 0).Columns, 6);
  EXPECT_EQ(SplitIndexTemplate(CrLfIndex(2, 1), 3).Columns, 3);
  EXPECT_EQ(SplitIndexTemplate(CrLfIndex(2, 1), -4).Columns, 1);
  // The tail follows the last cell, whichever row it is in.
  EXPECT_EQ(SplitIndexTemplate(CrLfIndex(3, 2), 0).Tail, "</tr>\r\n</table></body></html>\r\n");
}

TEST(SplitIndexTemplate, OneCellLeavesTheTailRightAfterIt) {
  const std::string text = "<table><tr>\r\n<td>Picture text</td>\r\n</tr></table>";
  const IndexLayout layout = SplitIndexTemplate(text, 0);
  EXPECT_EQ(layout.CellTemplate, "<td>Picture text</td>\r\n");
  EXPECT_EQ(layout.Tail, "</tr></table>");
  EXPECT_EQ(layout.Columns, 1);
}

TEST(SplitIndexTemplate, LfOnlyTemplateTakesTwoCharactersWhateverTheyAre) {
  const std::string text = "<table>\n<tr>\n<td>a</td>\n<td>b</td>\n</tr>\n</table>\n";
  const IndexLayout layout = SplitIndexTemplate(text, 0);
  EXPECT_EQ(layout.Head, "<table>\n<tr>\n<");
  EXPECT_EQ(layout.CellTemplate, "td>a</td>\n<");
  EXPECT_EQ(layout.Tail, "/tr>\n</table>\n");
  EXPECT_EQ(layout.Columns, 2);
}

TEST(SplitIndexTemplate, StretchesStopAtTheEnd) {
  IndexLayout layout = SplitIndexTemplate("<tr>\r\n<td></td>x", 0);
  EXPECT_EQ(layout.CellTemplate, "<td></td>x");
  EXPECT_EQ(layout.Tail, "");
  layout = SplitIndexTemplate("<tr>\r\n<td>1</td>\r\n<td>2</td>", 0);
  EXPECT_EQ(layout.CellTemplate, "<td>1</td>\r\n");
  EXPECT_EQ(layout.Tail, "");
  EXPECT_EQ(layout.Columns, 2);
  // "<tr>" at the very end cannot hold a cell after it.
  EXPECT_FALSE(IndexTemplateIsUsable("<td></td><tr>"));
}

TEST(SplitIndexTemplate, TemplatesWithoutRowOrCellAreNotUsable) {
  for (const std::string_view text :
       {"", "<html></html>", "<TR>\r\n<td></td>", "<tr class=\"x\"><td></td>",
        "<tr>\r\n<td>no end</TD>", "<tr></td>"}) {
    EXPECT_FALSE(IndexTemplateIsUsable(text)) << text;
    const IndexLayout layout = SplitIndexTemplate(text, 0);
    EXPECT_EQ(layout.Head, text);
    EXPECT_EQ(layout.CellTemplate, "");
    EXPECT_EQ(layout.Tail, "");
    EXPECT_EQ(layout.Columns, 1);
  }
}

TEST(ReplaceAll, ReplacesEveryOccurrenceAndNeverRescansInsertedText) {
  std::string text = "a-X-b-X";
  ReplaceAll(text, "X", "XX");
  EXPECT_EQ(text, "a-XX-b-XX");
  text = "aaaa";
  ReplaceAll(text, "aa", "a");
  EXPECT_EQ(text, "aa");
  text = "keep";
  ReplaceAll(text, "absent", "y");
  EXPECT_EQ(text, "keep");
  ReplaceAll(text, "", "y");
  EXPECT_EQ(text, "keep");
  ReplaceAll(text, "e", "");
  EXPECT_EQ(text, "kp");
}

TEST(ReplaceAll, TextGrowsWithoutLimit) {
  std::string text(2000, 'm');
  ReplaceAll(text, "m", std::string(1000, 'r'));
  EXPECT_EQ(text, std::string(2000000, 'r'));
}

TEST(FillPlaceholders, FileReferenceGoesFirst) {
  std::string cell = kCell;
  FillPlaceholders(cell, "sun.gif", "sun", CaptionFromName("sun"));
  EXPECT_EQ(cell,
            "<td><a href=\"sun.html\"><img src=\"sun.gif\" width=\"120\" "
            "height=\"120\"></a><br>Sun</td>");
}

TEST(FillPlaceholders, MarkersInsideValuesAreInsertedOnce) {
  std::string cell = "__picture.jpg|__picture.html|Picture text|Picture text";
  FillPlaceholders(cell, "Picture text.jpg", "Picture text", "Picture text");
  EXPECT_EQ(cell, "Picture text.jpg|Picture text.html|Picture text|Picture text");
  cell = "__picture.jpg __picture";
  FillPlaceholders(cell, "__picture.jpg", "__picture", "");
  EXPECT_EQ(cell, "__picture.jpg __picture");
}

TEST(FillPlaceholders, EmptyCaptionRemovesEveryCaptionMarker) {
  std::string cell = "<td>Picture text<br>Picture text</td>";
  FillPlaceholders(cell, "__goback.gif", "../index", "");
  EXPECT_EQ(cell, "<td><br></td>");
}

TEST(FindAfter, GivesThePositionAfterTheFirstOccurrence) {
  EXPECT_EQ(FindAfter("<img width=\"1\" width=\"2\">", "width=\""), 12u);
  EXPECT_EQ(FindAfter("abc", "abc"), 3u);
  EXPECT_EQ(FindAfter("abc", "WIDTH"), std::nullopt);
  EXPECT_EQ(FindAfter("", "a"), std::nullopt);
}

TEST(CaptionFromName, DropsOnePlusAndUpperCasesOnlyAsciiLetters) {
  EXPECT_EQ(CaptionFromName("+beach"), "Beach");
  EXPECT_EQ(CaptionFromName("++x"), "+x");
  EXPECT_EQ(CaptionFromName("\xe5sa"), "\xe5sa");
  EXPECT_EQ(CaptionFromName("\xc3\xa5sa"), "\xc3\xa5sa");
  EXPECT_EQ(CaptionFromName("2007"), "2007");
  EXPECT_EQ(CaptionFromName("Dog"), "Dog");
  EXPECT_EQ(CaptionFromName("zebra crossing"), "Zebra crossing");
  EXPECT_EQ(CaptionFromName(""), "");
  EXPECT_EQ(CaptionFromName("+"), "");
}

TEST(EscapeHtml, WritesTheFiveSpecialCharactersAsEntities) {
  EXPECT_EQ(EscapeHtml("Tom & Jerry"), "Tom &amp; Jerry");
  EXPECT_EQ(EscapeHtml("<b>'a' \"b\"</b>"), "&lt;b&gt;&#39;a&#39; &quot;b&quot;&lt;/b&gt;");
  EXPECT_EQ(EscapeHtml("Party #1? 100%"), "Party #1? 100%");
  EXPECT_EQ(EscapeHtml("\xc3\xa5sa"), "\xc3\xa5sa");
}

TEST(EscapeFileReference, KeepsNamesInsideTheirAttribute) {
  EXPECT_EQ(EscapeFileReference("Party #1.jpg"), "Party %231.jpg");
  EXPECT_EQ(EscapeFileReference("100%.jpg"), "100%.jpg");
  EXPECT_EQ(EscapeFileReference("why?.gif"), "why%3F.gif");
  EXPECT_EQ(EscapeFileReference("Tom & Jerry.jpg"), "Tom &amp; Jerry.jpg");
  EXPECT_EQ(EscapeFileReference("Trip/index.jpg"), "Trip/index.jpg");
  EXPECT_EQ(EscapeFileReference("a\\e'#'_"), "a%5Ce&#39;%23&#39;_");
  EXPECT_EQ(EscapeFileReference("a\\b.jpg"), "a%5Cb.jpg");

  // A name made to break out of its attribute stays inside it.
  const std::string name = "x\" onerror=\"alert(1).jpg";
  std::string cell = "<img src=\"__picture.jpg\" alt=\"Picture text\">";
  FillPlaceholders(cell, EscapeFileReference(name), EscapeFileReference("x\" onerror=\"alert(1)"),
                   EscapeHtml(CaptionFromName("x\" onerror=\"alert(1)")));
  EXPECT_EQ(cell,
            "<img src=\"x&quot; onerror=&quot;alert(1).jpg\" "
            "alt=\"X&quot; onerror=&quot;alert(1)\">");
}

}  // namespace
