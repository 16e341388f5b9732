#include <windows.h>

#include "platform/preference_store.h"
#include "platform/utf16.h"

namespace {

std::wstring StoreKey(std::string_view application) {
  return L"Software\\Tamsell\\" + Utf16(application);
}

struct Key {
  HKEY handle = nullptr;
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (handle != nullptr) {
      RegCloseKey(handle);
    }
  }
};

bool IsUtf8(std::string_view text) {
  return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0) > 0;
}

// A text value without the NUL that ends it in the registry.
std::string TextOf(const std::string& bytes) {
  std::wstring_view text(reinterpret_cast<const wchar_t*>(bytes.data()),
                         bytes.size() / sizeof(wchar_t));
  return Utf8(text.substr(0, text.find(L'\0')));
}

}  // namespace

std::string ReadPreference(std::string_view application, std::string_view name) {
  Key key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, StoreKey(application).c_str(), 0, KEY_QUERY_VALUE,
                    &key.handle) != ERROR_SUCCESS) {
    return {};
  }
  const std::wstring valueName = Utf16(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.handle, valueName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::string bytes(size, '\0');
  if (RegQueryValueExW(key.handle, valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
    return {};
  }
  bytes.resize(size);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    return TextOf(bytes);
  }
  return type == REG_BINARY ? bytes : std::string();
}

bool WritePreference(std::string_view application, std::string_view name, std::string_view value) {
  Key key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, StoreKey(application).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key.handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring valueName = Utf16(name);
  // Bytes that are no UTF-8 would not come back from a text value as they went in.
  if (!IsUtf8(value)) {
    return RegSetValueExW(key.handle, valueName.c_str(), 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(value.data()),
                          static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }
  const std::wstring text = Utf16(value);
  return RegSetValueExW(key.handle, valueName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
