#include <cstdlib>
#include <string_view>

#include "platform/ui_language.h"

std::vector<std::string> PreferredUiLanguages() {
  std::vector<std::string> languages;
  const char* list = std::getenv("LANGUAGE");
  for (std::string_view rest = list != nullptr ? list : ""; !rest.empty();) {
    const std::size_t end = rest.find(':');
    if (end != 0) {
      languages.emplace_back(rest.substr(0, end));
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      languages.emplace_back(value);
      break;
    }
  }
  return languages;
}
