#include "tools/sndrec32/qt/microphones.h"

#include <QMediaDevices>
#include <QProcess>
#include <string>

#include "platform/preference_store.h"

namespace {

// The recorder's own store, beside Korvalo's: Tamsell/sndrec32.conf.
constexpr char kStore[] = "sndrec32";
constexpr char kSettingKey[] = "microphone";

QByteArray RememberedMicrophone() {
  return QByteArray::fromStdString(ReadPreference(kStore, kSettingKey));
}

// Qt 6.4 takes the first input as the default whatever the user chose, so
// PulseAudio (or PipeWire's stand-in for it) is asked directly. Empty when
// there is no answer.
QByteArray ServerDefaultInput() {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), {QStringLiteral("get-default-source")});
  if (!pactl.waitForFinished(3000) || pactl.exitStatus() != QProcess::NormalExit ||
      pactl.exitCode() != 0) {
    pactl.kill();
    pactl.waitForFinished(1000);
    return {};
  }
  return pactl.readAllStandardOutput().trimmed();
}

int IndexOf(const QList<QAudioDevice>& devices, const QByteArray& id) {
  for (qsizetype i = 0; i < devices.size(); ++i) {
    if (!id.isEmpty() && devices[i].id() == id) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

Microphones FindMicrophones() {
  Microphones found{.Devices = QMediaDevices::audioInputs()};
  if (found.Devices.isEmpty()) {
    return found;
  }
  for (const QByteArray& id :
       {RememberedMicrophone(), ServerDefaultInput(), QMediaDevices::defaultAudioInput().id()}) {
    found.Chosen = IndexOf(found.Devices, id);
    if (found.Chosen >= 0) {
      return found;
    }
  }
  found.Chosen = 0;
  return found;
}

void RememberMicrophone(const QAudioDevice& device) {
  WritePreference(kStore, kSettingKey, device.id().toStdString());
}
