#include "album/template_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/test_support.h"

// A template of several lines is counted in the shipped-template checks.
TEST(CountTemplateColumns, CountsTheCellsUpToTheLineThatEndsTheFirstRow) {
  std::string longRow = "<tr>";
  for (int i = 0; i < 300; ++i) {
    longRow += "<td>" + std::to_string(i) + "</td>";
  }
  const std::pair<std::string, int> cases[] = {
      // Every cell on the line of the row end counts.
      {"<tr>\n<td>1</td>\n<td>2</td></tr><td>x</td>\n<td>y</td>\n", 3},
      // Without a row end the whole file counts.
      {"<td>1</td>\n<td>2</td>\n<td>3</td>\n", 3},
      {longRow + "</tr>\n<tr><td>x</td></tr>\n", 300},
  };
  const TempDir dir;
  for (const auto& [text, columns] : cases) {
    EXPECT_EQ(columns, CountTemplateColumns(dir.Write("t_index.html", text))) << text;
  }
}
