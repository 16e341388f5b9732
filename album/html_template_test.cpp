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

// One pass over the template: what is inserted is never searched again, and
// at one place the longest marker is the one filled.
TEST(FillTemplate, EachMarkerOfTheTemplateOnceAndNothingInsideTheValues) {
  const Placeholder placeholders[] = {{"__picture", "N"},
                                      {"__picture.jpg", "x__picture.jpg"},
                                      {"Picture text", "aPicture text"},
                                      {"", "never"}};
  std::string filled = "stale";
  FillTemplate("<a href=\"__picture.html\"><img src=\"__picture.jpg\">Picture text__picture",
               placeholders, filled);
  EXPECT_EQ(filled, "<a href=\"N.html\"><img src=\"x__picture.jpg\">aPicture textN");
  FillTemplate("__pictur", placeholders, filled);
  EXPECT_EQ(filled, "__pictur");
}

TEST(WithoutSection, LeavesOutEachWholeSectionAndKeepsOneWithoutItsEnd) {
  EXPECT_EQ(WithoutSection("a<!--next-->b<!--/next-->c<!--next-->d<!--/next-->e", "next"), "ace");
  EXPECT_EQ(WithoutSection("a<!--next-->b<!--/previous-->c", "next"),
            "a<!--next-->b<!--/previous-->c");
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
      // Never a scheme; a byte of no UTF-8 character is escaped, every whole one kept.
      {"javascript:alert(1)", "javascript%3Aalert(1)"},
      {"caf\xE9 \xC3\xA5 \xEF\xBF\xBD \xF0\x9F\x93\xB7",
       "caf%E9 \xC3\xA5 \xEF\xBF\xBD \xF0\x9F\x93\xB7"},
      {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82", "%C0%AF %ED%A0%80 %F4%90%80%80 %E2%82"},
  };
  for (const auto& [reference, escaped] : references) {
    EXPECT_EQ(EscapeFileReference(reference), escaped);
  }
}

}  // namespace
