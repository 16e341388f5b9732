#include "tools/sndrec32/qt/microphones.h"

#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QSettings>
#include <memory>
#include <string>

#include "platform/preference_store.h"

namespace {

constexpr const char* kSettingKey = "microphone";

// The file checked is the file QSettings uses, so it never opens a FIFO and
// waits there. Null when the file must be left alone.
std::unique_ptr<QSettings> OpenSettings() {
  const std::string path = PreferenceFilePath("sndrec32");
  if (!MayOpenPreferenceFile(path, "sndrec32")) {
    return nullptr;
  }
  return std::make_unique<QSettings>(QFile::decodeName(path.c_str()), QSettings::IniFormat);
}

QByteArray RememberedMicrophone() {
  const auto settings = OpenSettings();
  return settings ? settings->value(kSettingKey).toString().toUtf8() : QByteArray();
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
  if (const auto settings = OpenSettings()) {
    settings->setValue(kSettingKey, QString::fromUtf8(device.id()));
  }
}
