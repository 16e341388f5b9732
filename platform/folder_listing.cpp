// The name rules every platform's listing shares, so that both systems make
// the same album of the same folder.

#include <algorithm>

#include "platform/folder_listing.h"

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool WildcardMatch(std::string_view wildcard, std::string_view name) {
  if (wildcard == "*.*") {
    return true;
  }
  // Iterative matching with one backtrack point for the last '*'.
  std::size_t w = 0;
  std::size_t n = 0;
  std::size_t starW = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (w < wildcard.size() &&
        (wildcard[w] == '?' || UpperAscii(wildcard[w]) == UpperAscii(name[n]))) {
      ++w;
      ++n;
    } else if (w < wildcard.size() && wildcard[w] == '*') {
      starW = w++;
      starN = n;
    } else if (starW != std::string_view::npos) {
      w = starW + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (w < wildcard.size() && wildcard[w] == '*') {
    ++w;
  }
  return w == wildcard.size();
}

bool NtfsNameLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ua = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto ub = static_cast<unsigned char>(UpperAscii(b[i]));
    if (ua != ub) {
      return ua < ub;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}
