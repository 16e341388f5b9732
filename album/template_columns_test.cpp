#include "album/template_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

int CountOf(const TempDir& dir, const std::string& text) {
  return CountTemplateColumns(dir.Write("t_index.html", text));
}

TEST(CountTemplateColumns, CountsTheCellsOfTheFirstRowOnly) {
  TempDir dir;
  EXPECT_EQ(4, CountOf(dir,
                       "<table>\r\n<tr>\r\n<td>a</td><td>b</td>\r\n<td>c</td><td>d</td>\r\n"
                       "</tr>\r\n<tr><td>e</td><td>f</td></tr>\r\n</table>\r\n"));
  // Two rows of 3 in a template: the proposal is 3.
  EXPECT_EQ(3, CountOf(dir,
                       "<tr>\n<td>1</td><td>2</td><td>3</td>\n</tr>\n"
                       "<tr>\n<td>4</td><td>5</td><td>6</td>\n</tr>\n"));
}

TEST(CountTemplateColumns, EveryCellOnTheLineOfTheRowEndCounts) {
  TempDir dir;
  EXPECT_EQ(4, CountOf(dir, "<tr><td>1</td><td>2</td><td>3</td></tr><tr><td>4</td></tr>\n"));
  EXPECT_EQ(3, CountOf(dir, "<tr>\n<td>1</td>\n<td>2</td></tr><td>x</td>\n<td>y</td>\n"));
}

TEST(CountTemplateColumns, WithoutRowEndTheWholeFileCounts) {
  TempDir dir;
  EXPECT_EQ(3, CountOf(dir, "<td>1</td>\n<td>2</td>\n<td>3</td>\n"));
  EXPECT_EQ(0, CountOf(dir, "<html></html>"));
  // Tags are matched exactly: capitals neither count nor end the row.
  EXPECT_EQ(2, CountOf(dir, "<TD>1</TD><td>2</td></TR>\n<td>3</td>"));
}

TEST(CountTemplateColumns, LongLinesAreCountedWhole) {
  TempDir dir;
  std::string row = "<tr>";
  for (int i = 0; i < 300; ++i) {
    row += "<td>" + std::to_string(i) + "</td>";
  }
  row += "</tr>\n<tr><td>x</td></tr>\n";
  EXPECT_EQ(300, CountOf(dir, row));
}

TEST(CountTemplateColumns, StopsAtANulByte) {
  TempDir dir;
  EXPECT_EQ(1, CountOf(dir, std::string("<td>1</td>\0<td>2</td>\n<td>3</td>", 31)));
}

TEST(CountTemplateColumns, MissingFileGivesZero) {
  TempDir dir;
  EXPECT_EQ(0, CountTemplateColumns(dir / "missing_index.html"));
}

}  // namespace
