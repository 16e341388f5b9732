#include "album/template_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

TEST(CountTemplateColumns, CountsTheCellsUpToTheLineThatEndsTheFirstRow) {
  std::string longRow = "<tr>";
  for (int i = 0; i < 300; ++i) {
    longRow += "<td>" + std::to_string(i) + "</td>";
  }
  const struct {
    std::string Text;
    int Columns;
  } cases[] = {
      {"<table>\r\n<tr>\r\n<td>a</td><td>b</td>\r\n<td>c</td><td>d</td>\r\n"
       "</tr>\r\n<tr><td>e</td><td>f</td></tr>\r\n</table>\r\n",
       4},
      // Every cell on the line of the row end counts.
      {"<tr><td>1</td><td>2</td><td>3</td></tr><tr><td>4</td></tr>\n", 4},
      {"<tr>\n<td>1</td>\n<td>2</td></tr><td>x</td>\n<td>y</td>\n", 3},
      // Without a row end the whole file counts.
      {"<td>1</td>\n<td>2</td>\n<td>3</td>\n", 3},
      {longRow + "</tr>\n<tr><td>x</td></tr>\n", 300},
  };
  const TempDir dir;
  for (const auto& c : cases) {
    EXPECT_EQ(c.Columns, CountTemplateColumns(dir.Write("t_index.html", c.Text))) << c.Text;
  }
  EXPECT_EQ(0, CountTemplateColumns(dir / "missing_index.html"));
}

}  // namespace
