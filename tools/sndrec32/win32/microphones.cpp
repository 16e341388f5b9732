#include "tools/sndrec32/win32/microphones.h"

#include <windows.h>

#include <mmddk.h>
#include <mmsystem.h>

#include <algorithm>

#include "platform/utf16.h"

namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Tamsell\\sndrec32";
constexpr wchar_t kValueName[] = L"microphone";

std::string RememberedMicrophone() {
  wchar_t text[256] = {};
  DWORD size = sizeof text - sizeof(wchar_t);  // room for the NUL a value may lack
  if (RegGetValueW(HKEY_CURRENT_USER, kStoreKey, kValueName, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return Utf8(text);
}

// The device the system records from when a program names none.
int PreferredInput() {
  DWORD device = 0;
  DWORD flags = 0;
  if (waveInMessage(reinterpret_cast<HWAVEIN>(static_cast<UINT_PTR>(WAVE_MAPPER)),
                    DRVM_MAPPER_PREFERRED_GET, reinterpret_cast<DWORD_PTR>(&device),
                    reinterpret_cast<DWORD_PTR>(&flags)) != MMSYSERR_NOERROR) {
    return -1;
  }
  return static_cast<int>(device);
}

}  // namespace

Microphones FindMicrophones() {
  Microphones found;
  const UINT count = waveInGetNumDevs();
  for (UINT i = 0; i < count; ++i) {
    WAVEINCAPSW caps{};
    const bool named = waveInGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR;
    found.Names.push_back(named ? Utf8(caps.szPname) : std::string());
  }
  if (found.Names.empty()) {
    return found;
  }
  const std::string remembered = RememberedMicrophone();
  const auto match = std::find(found.Names.begin(), found.Names.end(), remembered);
  const int preferred = PreferredInput();
  if (!remembered.empty() && match != found.Names.end()) {
    found.Chosen = static_cast<int>(match - found.Names.begin());
  } else if (preferred >= 0 && preferred < static_cast<int>(found.Names.size())) {
    found.Chosen = preferred;
  } else {
    found.Chosen = 0;
  }
  return found;
}

void RememberMicrophone(const std::string& name) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring text = Utf16(name);
  RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}
