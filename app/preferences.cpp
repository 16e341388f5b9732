#include "app/preferences.h"

#include "platform/preference_store.h"

std::string ReadSetting(std::string_view name) {
  return ReadPreference(name);
}

bool WriteSetting(std::string_view name, std::string_view value) {
  return WritePreference(name, value);
}
