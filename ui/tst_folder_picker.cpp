#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "tests/qt_test_support.h"
#include "ui/folder_picker.h"
#include "ui/pictures_folder.h"

class tst_FolderPicker : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void opensAtTheStartFolderAndReturnsTheChoice_data();
  void opensAtTheStartFolderAndReturnsTheChoice();
  void defaultPicturesFolder_data();
  void defaultPicturesFolder();

 private:
  QTemporaryDir dir_;
};

namespace {

// What the picker showed when it opened.
struct Seen {
  QString selected;
  QString status;
  QString title;
};

// Opens the picker and answers it: selects `choice` (none: keeps the start),
// then presses OK, or "Avbryt" when `cancel`.
std::string Answer(const std::string& start, const QString& choice, bool cancel, Seen& seen) {
  QTimer robot;
  QObject::connect(&robot, &QTimer::timeout, [&] {
    QWidget* picker = QApplication::activeModalWidget();
    auto* tree =
        picker != nullptr ? picker->findChild<QTreeView*>(QStringLiteral("folders")) : nullptr;
    if (tree == nullptr) {
      return;
    }
    robot.stop();
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    seen = {model->filePath(tree->currentIndex()),
            picker->findChild<QLabel*>(QStringLiteral("status"))->text(),
            picker->findChild<QLabel*>(QStringLiteral("title"))->text()};
    if (!choice.isEmpty()) {
      tree->setCurrentIndex(model->index(choice));
    }
    const QString button = cancel ? QStringLiteral("Avbryt") : QStringLiteral("OK");
    for (auto* push : picker->findChildren<QPushButton*>()) {
      if (push->text() == button) {
        push->click();
      }
    }
  });
  robot.start(10);
  return BrowseForFolder(nullptr, start, "Välj en mapp med bilder");
}

}  // namespace

void tst_FolderPicker::initTestCase() {
  InstallStrictQtMessageHandler();
  QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Bilder/Resa 2007/dag 1")));
  QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Pictures")));
}

void tst_FolderPicker::opensAtTheStartFolderAndReturnsTheChoice_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("opensAt");
  QTest::addColumn<QString>("choice");
  QTest::addColumn<bool>("cancel");
  QTest::addColumn<QString>("result");
  const QString base = dir_.path();
  const QString trip = base + "/Bilder/Resa 2007";
  QTest::newRow("start kept") << trip << trip << "" << false << trip;
  QTest::newRow("trailing slash") << trip + "/" << trip << "" << false << trip;
  QTest::newRow("another chosen") << trip << trip << trip + "/dag 1" << false << trip + "/dag 1";
  QTest::newRow("root") << trip << trip << "/" << false << "/";
  QTest::newRow("gone folder opens nearby") << trip + "/borta/x" << trip << "" << false << trip;
  QTest::newRow("cancelled") << trip << trip << "" << true << "";
}

void tst_FolderPicker::opensAtTheStartFolderAndReturnsTheChoice() {
  QFETCH(QString, start);
  QFETCH(QString, opensAt);
  QFETCH(QString, choice);
  QFETCH(bool, cancel);
  QFETCH(QString, result);
  Seen seen;
  QCOMPARE(QString::fromStdString(Answer(start.toStdString(), choice, cancel, seen)), result);
  QCOMPARE(seen.selected, opensAt);
  QCOMPARE(seen.status, opensAt);
  QCOMPARE(seen.title, QStringLiteral("Välj en mapp med bilder"));
}

void tst_FolderPicker::defaultPicturesFolder_data() {
  QTest::addColumn<QString>("environment");
  QTest::addColumn<QString>("userDirs");
  QTest::addColumn<QString>("expected");
  const QString base = dir_.path();
  QTest::newRow("environment") << base + "/Pictures"
                               << "" << base + "/Pictures";
  QTest::newRow("user-dirs.dirs") << ""
                                  << "XDG_PICTURES_DIR=\"$HOME/Pictures\"" << base + "/Pictures";
  QTest::newRow("~/Bilder") << ""
                            << "" << base + "/Bilder";
  QTest::newRow("missing folders skipped") << base + "/none"
                                           << "XDG_PICTURES_DIR=\"/none\"" << base + "/Bilder";
}

void tst_FolderPicker::defaultPicturesFolder() {
  QFETCH(QString, environment);
  QFETCH(QString, userDirs);
  QFETCH(QString, expected);
  const QByteArray oldHome = qgetenv("HOME");
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  QTemporaryDir config;
  QFile file(config.path() + "/user-dirs.dirs");
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(userDirs.toUtf8() + "\n");
  file.close();
  qputenv("HOME", dir_.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("XDG_PICTURES_DIR", environment.toUtf8());
  const QString found = DefaultPicturesFolder();
  qputenv("HOME", oldHome);
  qputenv("XDG_CONFIG_HOME", oldConfig);
  qunsetenv("XDG_PICTURES_DIR");
  QCOMPARE(found, expected);

  // With no remembered folder the picker opens there.
  qputenv("HOME", dir_.path().toUtf8());
  Seen seen;
  Answer("", "", true, seen);
  qputenv("HOME", oldHome);
  QCOMPARE(seen.selected, dir_.path() + "/Bilder");
}

QTEST_MAIN(tst_FolderPicker)
#include "tst_folder_picker.moc"
