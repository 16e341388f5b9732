#include <QSettings>
#include <QString>
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
  return OpenStore()->value(KeyOf(name)).toString().toStdString();
}

bool WritePreference(std::string_view name, std::string_view value) {
  const auto store = OpenStore();
  store->setValue(KeyOf(name),
                  QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  store->sync();
  return store->status() == QSettings::NoError;
}
