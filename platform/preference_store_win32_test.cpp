#include "platform/preference_store.h"

#include <gtest/gtest.h>

#include "tests/windows_test_support.h"

namespace {

// Where the Windows design keeps them, as text values another program can read.
TEST(PreferenceStore, TextValuesUnderTheProgramsKeyRoundTripWhole) {
  const ScopedRegistryRoot user(HKEY_CURRENT_USER);
  EXPECT_EQ(ReadPreference("Korvalo", "LastDir"), "");
  const std::string folder = "C:\\Bilder\\Sommar p\xc3\xa5 sj\xc3\xb6n";
  ASSERT_TRUE(WritePreference("Korvalo", "LastDir", folder));
  wchar_t text[100];
  DWORD size = sizeof text;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tamsell\\Korvalo", L"LastDir",
                         RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(text), L"C:\\Bilder\\Sommar p\u00e5 sj\u00f6n");
  EXPECT_EQ(ReadPreference("Korvalo", "LastDir"), folder);
  ASSERT_TRUE(WritePreference("Korvalo", "LastTemplate", "M\xf6rk"));  // Latin-1, no UTF-8
  EXPECT_EQ(ReadPreference("Korvalo", "LastTemplate"), "M\xf6rk");
}

}  // namespace
