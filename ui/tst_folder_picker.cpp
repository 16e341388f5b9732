#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "tests/qt_test_support.h"
#include "ui/folder_picker.h"
#include "ui/pictures_folder.h"

class tst_FolderPicker : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void opensAtTheStartFolderAndReturnsTheChoice_data();
  void opensAtTheStartFolderAndReturnsTheChoice();
  void firstRunOpensAtThePicturesFolder();

 private:
  QTemporaryDir dir_;
};

namespace {

// Opens the picker, notes the selected folder, the status line and the title
// it opened with, then selects `choice` (none: keeps the start) and presses
// OK, or "Avbryt" when `cancel`. Returns the picker's result.
std::string Answer(const std::string& start, const QString& choice, bool cancel, QString& seen) {
  QTimer robot;
  QObject::connect(&robot, &QTimer::timeout, [&] {
    QWidget* picker = QApplication::activeModalWidget();
    auto* tree = picker ? picker->findChild<QTreeView*>(QStringLiteral("folders")) : nullptr;
    if (tree == nullptr) {
      return;
    }
    robot.stop();
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    seen = model->filePath(tree->currentIndex()) + " | " +
           picker->findChild<QLabel*>(QStringLiteral("status"))->text() + " | " +
           picker->findChild<QLabel*>(QStringLiteral("title"))->text();
    if (!choice.isEmpty()) {
      tree->setCurrentIndex(model->index(choice));
    }
    for (auto* button : picker->findChildren<QPushButton*>()) {
      if (button->text() == (cancel ? "Avbryt" : "OK")) {
        button->click();
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
  QTest::addColumn<QString>("choice");
  QTest::addColumn<bool>("cancel");
  QTest::addColumn<QString>("result");
  const QString trip = dir_.path() + "/Bilder/Resa 2007";
  QTest::newRow("start kept") << trip << "" << false << trip;
  QTest::newRow("trailing slash") << trip + "/"
                                  << "" << false << trip;
  QTest::newRow("another chosen") << trip << trip + "/dag 1" << false << trip + "/dag 1";
  QTest::newRow("root") << trip << "/" << false << "/";
  QTest::newRow("gone folder opens nearby") << trip + "/borta/x"
                                            << "" << false << trip;
  QTest::newRow("cancelled") << trip << "" << true << "";
}

void tst_FolderPicker::opensAtTheStartFolderAndReturnsTheChoice() {
  QFETCH(QString, start);
  QFETCH(QString, choice);
  QFETCH(bool, cancel);
  QString seen;
  QTEST(QString::fromStdString(Answer(start.toStdString(), choice, cancel, seen)), "result");
  const QString trip = dir_.path() + "/Bilder/Resa 2007";
  QCOMPARE(seen, trip + " | " + trip + " | Välj en mapp med bilder");
}

void tst_FolderPicker::firstRunOpensAtThePicturesFolder() {
  const QString base = dir_.path();
  QTemporaryDir config;
  QFile dirs(config.path() + "/user-dirs.dirs");
  QVERIFY(dirs.open(QIODevice::WriteOnly));
  dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
  dirs.close();
  const QByteArray home = qgetenv("HOME");
  const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", base.toUtf8());
  qputenv("XDG_PICTURES_DIR", (base + "/Bilder").toUtf8());
  const QString fromEnvironment = DefaultPicturesFolder();
  qputenv("XDG_PICTURES_DIR", (base + "/none").toUtf8());  // Missing: skipped.
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  const QString fromUserDirs = DefaultPicturesFolder();
  qputenv("XDG_CONFIG_HOME", configHome);
  const QString fromHome = DefaultPicturesFolder();
  QString seen;
  Answer("", "", true, seen);
  qputenv("HOME", home);
  qunsetenv("XDG_PICTURES_DIR");
  QCOMPARE(fromEnvironment, base + "/Bilder");
  QCOMPARE(fromUserDirs, base + "/Pictures");
  QCOMPARE(fromHome, base + "/Bilder");
  QVERIFY(seen.startsWith(base + "/Bilder | "));
}

QTEST_MAIN(tst_FolderPicker)
#include "tst_folder_picker.moc"
