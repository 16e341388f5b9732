#include "app/language.h"

#include <string_view>

#include "platform/ui_language.h"

namespace {

// The language part of "sv_SE.UTF-8@euro" or "sv-SE": "sv".
std::string_view LanguagePart(std::string_view locale) {
  return locale.substr(0, locale.find_first_of("_.@-"));
}

}  // namespace

Language ChooseLanguage(const std::vector<std::string>& preferred) {
  for (const std::string& locale : preferred) {
    const std::string_view language = LanguagePart(locale);
    // The C and POSIX locales name no language: the program's own then.
    if (language.empty() || language == "C" || language == "POSIX") {
      continue;
    }
    return language == "sv" ? Language::Swedish : Language::English;
  }
  return Language::Swedish;
}

void UseUsersLanguage() {
  UseLanguage(ChooseLanguage(PreferredUiLanguages()));
}
