#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

namespace {

// The offscreen platform announces each feature it lacks; that is expected
// noise. Any other warning is a fault in the code under test.
void FailOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg ||
      message.startsWith(QStringLiteral("This plugin does not support"))) {
    return;
  }
  ADD_FAILURE() << "Qt warning: " << message.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qInstallMessageHandler(FailOnWarnings);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
