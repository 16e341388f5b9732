#include "app/preferences.h"

#include "platform/preference_store.h"

std::string ReadSetting(std::string_view name) {
  return ReadPreference("Korvalo", name);
}

bool WriteSetting(std::string_view name, std::string_view value) {
  return WritePreference("Korvalo", name, value);
}
