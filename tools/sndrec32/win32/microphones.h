#pragma once

#include <string>
#include <vector>

/// The inputs the user can choose from (waveIn's devices, by the names
/// waveInGetDevCaps gives), and the one to offer first.
struct Microphones {
  std::vector<std::string> Names;  ///< Index i is waveIn device i.
  int Chosen = -1;                 ///< -1 when there are none.
};

/// Every input, with the one chosen last time preselected, or else the one
/// the system prefers.
Microphones FindMicrophones();

/// Makes the input named `name` the one FindMicrophones preselects next time:
/// the value "microphone" of HKEY_CURRENT_USER\Software\Tamsell\sndrec32.
void RememberMicrophone(const std::string& name);
