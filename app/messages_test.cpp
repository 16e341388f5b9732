#include "app/messages.h"

#include <gtest/gtest.h>

// The texts themselves are checked where they are shown, in the end-to-end runs.
TEST(Messages, UnknownTextsAreEmptyArgumentsAreNeverFormatsAndTextsAreCutAt1023Bytes) {
  EXPECT_EQ(LoadText(99), "");
  EXPECT_EQ(FormatMessage("Hittade inga bilder i: \"%s\"", "/a/100%s%d"),
            "Hittade inga bilder i: \"/a/100%s%d\"");
  EXPECT_EQ(FormatMessage("100%% %s", "x"), "100% x");
  EXPECT_EQ(FormatMessage("%s", std::string(5000, 'x')).size(), 1023u);
}
