#include "external/browser_launcher.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/files.h"
#include "tests/test_support.h"

namespace {

TEST(PageUrl, PercentEncodesThePathAndKeepsOnlyARealAnchor) {
  TempDir dir;
  const std::string url = "file://" + dir.path();
  EXPECT_EQ(PageUrl(dir.Write("a#b/100%.html", "")), url + "/a%23b/100%25.html");
  EXPECT_EQ(PageUrl(dir.Write("c#legal", "")), url + "/c%23legal");
  EXPECT_EQ(PageUrl(dir / "gone.html#legal"), url + "/gone.html%23legal");
  EXPECT_EQ(PageUrl(dir / "åä.html"), url + "/%C3%A5%C3%A4.html");
}

class OpenInBrowserTest : public testing::Test {
 protected:
  // A browser that writes the arguments it got, one per line.
  std::string FakeBrowser(const std::string& name) {
    const std::string out = "'" + dir_ / "args" + "'";
    return dir_.WriteScript(
        "bin/" + name, "printf '%s\\n' \"$@\" > " + out + ".tmp\n/bin/mv " + out + ".tmp " + out);
  }
  // What the fake browser got, once it has run.
  std::string Received() {
    Eventually([&] { return FileExists(dir_ / "args"); });
    const std::string received = ReadFileBytes(dir_ / "args");
    std::remove((dir_ / "args").c_str());
    return received;
  }
  TempDir dir_;
};

TEST_F(OpenInBrowserTest, HandsThePageOnAsOneIntactArgument) {
  const std::string page = dir_.Write("my album/it's \"a; rm -rf ~\" $(touch pwned).html", "");
  {
    ScopedEnv browser("BROWSER", FakeBrowser("browser") + " -nohome --ignored:/other/browser");
    OpenInBrowser(page, true);
    EXPECT_EQ(Received(), "-new\nfile://" + dir_.path() +
                              "/my%20album/it%27s%20%22a%3B%20rm%20-rf%20~%22%20%24%28touch%20"
                              "pwned%29.html\n");
    EXPECT_FALSE(FileExists(dir_ / "my album/pwned") || FileExists("pwned"));
  }
  // Blanks and tabs part the words; a command without -nohome is kept as it is.
  ScopedEnv browser("BROWSER", " " + FakeBrowser("browser") + "\t-x  ");
  OpenInBrowser(dir_.Write("dok/korvalo.html", "") + "#legal", true);
  EXPECT_EQ(Received(), "-x\nfile://" + dir_.path() + "/dok/korvalo.html#legal\n");
}

TEST_F(OpenInBrowserTest, WithoutABrowserTheDesktopOpenerIsUsedAndMissingOnesAreIgnored) {
  const std::string page = dir_.Write("index.html", "");
  const std::string opener = FakeBrowser("xdg-open");
  ScopedEnv path("PATH", dir_ / "bin");
  for (const char* value : {static_cast<const char*>(nullptr), "", ":"}) {
    ScopedEnv browser("BROWSER", value ? std::optional<std::string>(value) : std::nullopt);
    OpenInBrowser(page, true);
    EXPECT_EQ(Received(), "file://" + page + "\n");
  }
  ScopedEnv browser("BROWSER", dir_ / "bin/unused");
  OpenInBrowser(page, false);
  EXPECT_EQ(Received(), "file://" + page + "\n");
  std::remove(opener.c_str());  // Neither a browser nor an opener: nothing happens.
  OpenInBrowser(page, true);
  OpenInBrowser(page, false);
}

// The page is put in the session's runtime folder only when no one else may
// write there; else in a folder of this user's own.
TEST_F(OpenInBrowserTest, TheDesktopOpenerReachesTheAnchorThroughAPageLeadingOnToIt) {
  const std::string page = dir_.Write("dok/korvalo.html", "");
  FakeBrowser("xdg-open");
  ScopedEnv path("PATH", dir_ / "bin");
  ScopedEnv temp("TMPDIR", dir_.MakeFolder("tmp"));
  ScopedEnv browser("BROWSER", std::nullopt);
  for (const auto& [mode, folder] :
       {std::pair{0700, "runtime/"}, std::pair{0777, "tmp/korvalo-"}}) {
    chmod(dir_.MakeFolder("runtime").c_str(), mode);
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir_ / "runtime");
    OpenInBrowser(page + "#usage", true);
    const std::string received = Received();
    ASSERT_TRUE(received.starts_with("file://" + dir_ / folder)) << received;
    ASSERT_EQ(received.find('#'), std::string::npos);
    const std::string leadOn = ReadFileBytes(received.substr(7, received.size() - 8));
    EXPECT_NE(leadOn.find("content=\"0; url=file://" + page + "#usage\""), std::string::npos);
  }
}

}  // namespace
