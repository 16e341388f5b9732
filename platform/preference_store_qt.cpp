#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/preference_store.h"
#include "resources/string_table.h"

namespace {

QString KeyOf(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// $XDG_CONFIG_HOME/Tamsell/<application>.conf, under $HOME/.config when
// XDG_CONFIG_HOME is unset or not absolute. Looked up anew at every call.
std::string PreferenceFilePath(std::string_view application) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config != nullptr && config[0] == '/') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home != nullptr ? home : "") + "/.config";
  }
  return folder + "/Tamsell/" + std::string(application) + ".conf";
}

// True when the store file `path` may be opened: a regular file (links
// followed) or nothing yet.
bool MayOpenPreferenceFile(const std::string& path, const std::string& program) {
  // QSettings would open a FIFO and wait for a writer before the first window.
  if (IsRegularFileOrMissing(path)) {
    return true;
  }
  // Every read and write asks; one warning says all there is to say.
  static std::atomic<bool> told{false};
  if (!told.exchange(true)) {
    // The catalog's text, not a format of printf's: the path may hold '%'.
    std::string line;
    std::string_view format = StringTableText(kTextSettingsNotRead);
    for (const std::string_view argument : {std::string_view(program), std::string_view(path)}) {
      const std::size_t at = format.find("%s");
      line += std::string(format.substr(0, at)) + std::string(argument);
      format.remove_prefix(at == std::string_view::npos ? format.size() : at + 2);
    }
    line += std::string(format) + "\n";
    std::fputs(line.c_str(), stderr);
  }
  return false;
}

// The same store QSettings("Tamsell", application) uses, but with the
// configuration folder looked up at every call: QSettings remembers it from its
// first use, and a changed XDG_CONFIG_HOME must count. Null when the file must
// not be opened.
std::unique_ptr<QSettings> OpenStore(std::string_view application) {
#ifdef _WIN32
  return std::make_unique<QSettings>("Tamsell", KeyOf(application));
#else
  const std::string path = PreferenceFilePath(application);
  // Warnings name the program, which is the application in lower case.
  if (!MayOpenPreferenceFile(path, KeyOf(application).toLower().toStdString())) {
    return nullptr;
  }
  return std::make_unique<QSettings>(QFile::decodeName(path.c_str()), QSettings::IniFormat);
#endif
}

}  // namespace

std::string ReadPreference(std::string_view application, std::string_view name) {
  const auto store = OpenStore(application);
  if (!store) {
    return {};
  }
  const QVariant value = store->value(KeyOf(name));
  if (value.typeId() == QMetaType::QByteArray) {
    return value.toByteArray().toStdString();
  }
  return value.toString().toStdString();
}

bool WritePreference(std::string_view application, std::string_view name, std::string_view value) {
  const auto store = OpenStore(application);
  if (!store) {
    return false;
  }
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
