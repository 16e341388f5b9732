// The name rules every platform's listing shares, so that both systems make
// the same album of the same folder.

#include <algorithm>
#include <iterator>

#include "platform/ascii_case.h"
#include "platform/folder_listing.h"

namespace {

// COM and LPT take a digit, or a superscript one, which Windows reserves too.
bool IsPortNumber(std::string_view rest) {
  static constexpr std::string_view kSuperscripts[] = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  return (rest.size() == 1 && rest[0] >= '0' && rest[0] <= '9') ||
         std::find(std::begin(kSuperscripts), std::end(kSuperscripts), rest) !=
             std::end(kSuperscripts);
}

bool IsDeviceName(std::string_view stem) {
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (EqualsIgnoringAsciiCase(stem, device)) {
      return true;
    }
  }
  return stem.size() > 3 &&
         (EqualsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
          EqualsIgnoringAsciiCase(stem.substr(0, 3), "LPT")) &&
         IsPortNumber(stem.substr(3));
}

}  // namespace

bool LeftOutOfAlbums(const FolderEntry& entry) {
  return entry.HiddenBySystem || (!entry.Name.empty() && entry.Name.front() == '.');
}

bool WindowsCannotUseName(std::string_view name) {
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    return true;
  }
  // A device name counts up to the first dot, blanks before it left out.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') {
    stem.remove_suffix(1);
  }
  return IsDeviceName(stem);
}

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
    // Most names share a long start: equal bytes need no upper-casing.
    if (a[i] == b[i]) {
      continue;
    }
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
