#include "tools/sndrec32/win32/microphones.h"

#include <windows.h>

#include <mmddk.h>
#include <mmsystem.h>

#include <algorithm>

#include "platform/preference_store.h"
#include "platform/utf16.h"

namespace {

// The recorder's own store, HKEY_CURRENT_USER\Software\Tamsell\sndrec32.
constexpr char kStore[] = "sndrec32";
constexpr char kValueName[] = "microphone";

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
  const std::string remembered = ReadPreference(kStore, kValueName);
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
  WritePreference(kStore, kValueName, name);
}
