#include "tools/sndrec32/atomic_file.h"

#include <QFile>
#include <QSaveFile>

std::string SaveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  QSaveFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::WriteOnly)) {
    return file.errorString().toStdString();
  }
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    const std::string reason = file.errorString().toStdString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) {
    return file.errorString().toStdString();
  }
  return {};
}
