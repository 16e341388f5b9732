#include "album/template_columns.h"

#include <fstream>
#include <string_view>

namespace {

int CountOccurrences(std::string_view text, std::string_view what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos;
       at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

int CountTemplateColumns(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return 0;
  }
  int count = 0;
  std::string line;
  // Whole lines, however long: a cut piece could split a "</td>" or "</tr>"
  // in two and miscount a template written on one long line.
  while (std::getline(file, line)) {
    const std::size_t nul = line.find('\0');
    const bool textEnds = nul != std::string::npos;
    if (textEnds) {
      line.resize(nul);
    }
    count += CountOccurrences(line, "</td>");
    if (textEnds || line.find("</tr>") != std::string::npos) {
      break;
    }
  }
  return count;
}
