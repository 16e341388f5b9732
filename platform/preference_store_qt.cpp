#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <cstdlib>
#include <memory>

#include "platform/preference_store.h"

namespace {

QString KeyOf(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The same store QSettings("Tamsell", "Korvalo") uses, but with the
// configuration folder looked up at every call: QSettings remembers it from its
// first use, and a changed XDG_CONFIG_HOME must count.
std::unique_ptr<QSettings> OpenStore() {
#ifdef _WIN32
  return std::make_unique<QSettings>("Tamsell", "Korvalo");
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
  QString folder;
  if (config != nullptr && config[0] == '/') {
    folder = QString::fromLocal8Bit(config);
  } else {
    const char* home = std::getenv("HOME");
    folder = QString::fromLocal8Bit(home != nullptr ? home : "") + "/.config";
  }
  return std::make_unique<QSettings>(folder + "/Tamsell/Korvalo.conf", QSettings::IniFormat);
#endif
}

}  // namespace

std::string ReadPreference(std::string_view name) {
  const QVariant value = OpenStore()->value(KeyOf(name));
  if (value.typeId() == QMetaType::QByteArray) {
    return value.toByteArray().toStdString();
  }
  return value.toString().toStdString();
}

bool WritePreference(std::string_view name, std::string_view value) {
  const auto store = OpenStore();
  const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
  const QString text = QString::fromUtf8(bytes);
  // A folder name need not be UTF-8, and text would lose what is not: such a
  // value is kept as bytes, anything else stays plain text in the file.
  if (text.toUtf8() == bytes) {
    store->setValue(KeyOf(name), text);
  } else {
    store->setValue(KeyOf(name), bytes);
  }
  store->sync();
  return store->status() == QSettings::NoError;
}
