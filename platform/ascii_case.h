#pragma once

// Names compared as NTFS and the album compare them: ASCII letters without
// regard to case, every other byte as it is.

#include <algorithm>
#include <string_view>

inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// True when `a` and `b` are equal once ASCII letters are upper-cased.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}
