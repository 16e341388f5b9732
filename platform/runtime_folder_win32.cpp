#include <windows.h>

#include "platform/runtime_folder.h"
#include "platform/utf16.h"

// The user's own temporary folder: under the profile, which only the user may enter.
std::string PrivateRuntimeFolder() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) {
    return {};
  }
  return Utf8(std::wstring_view(folder, length));
}
