#include "tests/qt_test_support.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace {

void StrictHandler(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg ||
      message.startsWith(QStringLiteral("This plugin does not support"))) {
    return;
  }
  std::fprintf(stderr, "Qt warning fails the test: %s\n", qPrintable(message));
  std::abort();
}

}  // namespace

void InstallStrictQtMessageHandler() {
  qInstallMessageHandler(StrictHandler);
}
