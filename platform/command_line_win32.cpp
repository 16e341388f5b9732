#include "platform/command_line.h"

#include "platform/utf16.h"

namespace {

// Backslashes mean themselves except before a quote, where each pair is one
// backslash and an odd one makes the quote part of the argument.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    line += argument;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    line += c;
    backslashes = 0;
  }
  line.append(2 * backslashes, L'\\');  // before the closing quote
  line += L'"';
}

}  // namespace

std::wstring CommandLineOf(const std::vector<std::string>& arguments) {
  std::wstring line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i == 0) {
      // The program's name knows no backslash rules: it ends at the next quote.
      line += L'"' + Utf16(arguments[0]) + L'"';
    } else {
      line += L' ';
      AppendQuoted(line, Utf16(arguments[i]));
    }
  }
  return line;
}
