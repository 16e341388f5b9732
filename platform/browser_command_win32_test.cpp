#include "platform/browser_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "external/browser_launcher.h"
#include "platform/utf16.h"
#include "tests/windows_test_support.h"

namespace {

// The open command registered for .html, the user's own choice, gets the page
// as one file:///C:/ URL with its anchor, started directly: an '&' in the
// album's path would be a second command to cmd.exe.
TEST(OpenInBrowser, TheRegisteredBrowserGetsThePageAsOneUrlWithItsAnchor) {
  TempDir dir;
  const ScopedEnv log("KORVALO_FAKE_LOG", dir / "log");
  const ScopedRegistryRoot classes(HKEY_CLASSES_ROOT);
  SetRegistryText(HKEY_CLASSES_ROOT, L".html", L"", L"Korvalo.TestPage");
  SetRegistryText(HKEY_CLASSES_ROOT, L"Korvalo.TestPage\\shell\\open\\command", L"",
                  L"\"" + Utf16(FakeProgram()) + L"\" -x \"%1\" -nohome \"%1\"");
  const std::string page = dir.Write("Sol & v\xc3\xa5r/index.html", "");
  OpenInBrowser(page + "#legal", true);
  std::string url = "file:///" + dir.path() + "/Sol%20%26%20v%C3%A5r/index.html#legal";
  std::replace(url.begin(), url.end(), '\\', '/');
  // From "-nohome" on the command is "-new ".
  EXPECT_EQ(WaitForLog(dir / "log", "\n.\n"), "-x\n" + url + "\n-new\n.\n");
}

}  // namespace
