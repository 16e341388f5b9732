#include "platform/folder_listing.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(WildcardMatch, StarQuestionMarkAndCase) {
  EXPECT_TRUE(WildcardMatch("*.*", "README"));
  EXPECT_TRUE(WildcardMatch("*.*", ".hidden"));
  EXPECT_TRUE(WildcardMatch("*_index.html", "Enkel_index.html"));
  EXPECT_TRUE(WildcardMatch("*_index.html", "Enkel_INDEX.HTML"));
  EXPECT_TRUE(WildcardMatch("*_index.html", "_index.html"));
  EXPECT_FALSE(WildcardMatch("*_index.html", "Enkel_picture.html"));
  EXPECT_FALSE(WildcardMatch("*_index.html", "Enkel_index.html.bak"));
  EXPECT_TRUE(WildcardMatch("a?c", "abc"));
  EXPECT_FALSE(WildcardMatch("a?c", "ac"));
  EXPECT_TRUE(WildcardMatch("*a*b*", "xxaxxbxx"));
  EXPECT_FALSE(WildcardMatch("*a*b", "xxbxxa"));
  // Only ASCII letters fold: Å and å are different bytes.
  EXPECT_FALSE(WildcardMatch("Å*", "å.jpg"));
}

TEST(NtfsNameLess, UpperCasedOrderThenBytes) {
  std::vector<std::string> names = {"Trip",    "sun.gif",   "_x",        "notes.txt",
                                    "dog.JPG", "beach.jpg", "Beach.jpg", "a",
                                    "A",       "åsa.jpg",   "Z"};
  std::sort(names.begin(), names.end(), NtfsNameLess);
  const std::vector<std::string> expected = {"A",       "a",         "Beach.jpg", "beach.jpg",
                                             "dog.JPG", "notes.txt", "sun.gif",   "Trip",
                                             "Z",       "_x",        "åsa.jpg"};
  EXPECT_EQ(names, expected);
}

}  // namespace
