#include "tools/korvalo-batch/batch_options.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchOptions, ValuesComeWithOrWithoutEqualsAndAsBytes) {
  // A folder name that is not UTF-8 reaches the program byte for byte.
  const std::string folder = "Bilder/\xff\xe5r";
  for (const std::vector<std::string>& line :
       {std::vector<std::string>{"--template=M\xc3\xb6rk", "--record=always", folder},
        std::vector<std::string>{"--template", "M\xc3\xb6rk", "--record", "always", folder}}) {
    BatchOptions options;
    ASSERT_EQ(std::nullopt, ParseBatchOptions(line, options)) << line[0];
    EXPECT_EQ("M\xc3\xb6rk", options.Template.value_or(""));
    EXPECT_EQ(RecordAlways, options.Recording);
    EXPECT_EQ(folder, options.Folder);
  }
}

TEST(BatchOptions, SwitchesTakeNoValueAndHelpWinsOverErrors) {
  BatchOptions options;
  EXPECT_EQ("--quiet takes no value", ParseBatchOptions({"--quiet=yes", "a"}, options));
  EXPECT_EQ(std::nullopt, ParseBatchOptions({"--bogus", "-h"}, options));
  EXPECT_TRUE(options.Help);
  EXPECT_NE(std::string::npos, BatchUsage().find("--templates-folder DIR"));
}

}  // namespace
