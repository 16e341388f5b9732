#include "platform/folder_listing.h"

#include <tuple>

#include <gtest/gtest.h>

namespace {

// NTFS order is tested through NextFolderEntry.
TEST(WildcardMatch, StarQuestionMarkAndAsciiCase) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"*.*", "README", true},
      {"*_index.html", "Enkel_INDEX.HTML", true},
      {"*_index.html", "_index.html", true},
      {"*_index.html", "Enkel_index.html.bak", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"*a*b*", "xxaxxbxx", true},
      {"*a*b", "xxbxxa", false},
      {"Å*", "å.jpg", false},  // Only ASCII letters fold.
  };
  for (const auto& [wildcard, name, expected] : cases) {
    EXPECT_EQ(WildcardMatch(wildcard, name), expected) << wildcard << " " << name;
  }
}

}  // namespace
