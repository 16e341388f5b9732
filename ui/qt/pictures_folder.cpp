#include "ui/qt/pictures_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// user-dirs.dirs writes "$HOME/Bilder" or an absolute path, in double quotes.
QString ExpandHome(QString value, const QString& home) {
  if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) {
    value = value.mid(1, value.size() - 2);
  }
  if (value == QLatin1String("$HOME") || value.startsWith(QLatin1String("$HOME/"))) {
    value = home + value.mid(5);
  }
  return value;
}

QString FromUserDirsFile(const QString& home) {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) {
    config = home + QLatin1String("/.config");
  }
  QFile file(config + QLatin1String("/user-dirs.dirs"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  QTextStream in(&file);
  const QString key = QStringLiteral("XDG_PICTURES_DIR=");
  QString found;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith(key)) {
      found = ExpandHome(line.mid(key.size()), home);
    }
  }
  return found;
}

bool IsFolder(const QString& path) {
  return !path.isEmpty() && QFileInfo(path).isDir();
}

}  // namespace

QString DefaultPicturesFolder() {
  const QString home = QDir::homePath();
  const QString candidates[] = {
      ExpandHome(qEnvironmentVariable("XDG_PICTURES_DIR"), home),
      FromUserDirsFile(home),
      home + QLatin1String("/Bilder"),
      home + QLatin1String("/Pictures"),
  };
  for (const QString& candidate : candidates) {
    if (IsFolder(candidate)) {
      return QDir::cleanPath(candidate);
    }
  }
  return home;
}
