#pragma once

#include <QAudioDevice>
#include <QList>

/// The inputs the user can choose from, and the one to offer first.
struct Microphones {
  QList<QAudioDevice> Devices;
  int Chosen = -1;  ///< Index into Devices; -1 when there are none.
};

/// Every input, with the one chosen last time preselected, or else the one
/// the sound server names as its default.
Microphones FindMicrophones();

/// Makes `device` the one FindMicrophones preselects next time.
void RememberMicrophone(const QAudioDevice& device);
