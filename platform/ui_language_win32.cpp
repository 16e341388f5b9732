#include <windows.h>

#include "platform/ui_language.h"
#include "platform/utf16.h"

std::vector<std::string> PreferredUiLanguages() {
  // The language of the user's windows and menus, which Windows also picks
  // programs' resources by.
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
    return {};
  }
  return {Utf8(name)};
}
