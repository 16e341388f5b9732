// Whole runs of the desktop program in a child process of this test: the child
// runs the real sequence while a robot answers each window as a user would,
// and the parent checks the exit code and what landed on disk.

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/preferences.h"
#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"
#include "tests/picture_files.h"
#include "tests/qt_test_support.h"
#include "ui/qt/progress_window.h"

namespace {

// Accepts each dialog once (settings, folder picker, message boxes): the
// folder picker with ROBOT_FOLDER, the settings with no recordings when
// ROBOT_SETTINGS is "never"; closes the progress window, which cancels the
// run, once the file ROBOT_CANCEL_WHEN exists.
void ActAsUser(QPointer<QDialog>& answered) {
  if (QFile::exists(qEnvironmentVariable("ROBOT_CANCEL_WHEN"))) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (qobject_cast<ProgressWindow*>(window) != nullptr) {
        window->close();
      }
    }
  }
  auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (modal == nullptr || modal == answered) {
    return;
  }
  answered = modal;
  if (auto* tree = modal->findChild<QTreeView*>(QStringLiteral("folders"))) {
    const QString folder = qEnvironmentVariable("ROBOT_FOLDER");
    // The tree shows the folders' names through a proxy of the file system model.
    auto* names = static_cast<QAbstractProxyModel*>(tree->model());
    auto* files = static_cast<QFileSystemModel*>(names->sourceModel());
    tree->setCurrentIndex(names->mapFromSource(files->index(folder)));
  }
  if (qEnvironmentVariable("ROBOT_SETTINGS") == QLatin1String("never")) {
    if (auto* never = modal->findChild<QRadioButton*>(QStringLiteral("recordNeverButton"))) {
      never->setChecked(true);
    }
  }
  modal->accept();
}

int RunWithRobot(int argc, char** argv) {
  QApplication application(argc, argv);
  InstallStrictQtMessageHandler();
  QPointer<QDialog> answered;
  QTimer robot;
  QObject::connect(&robot, &QTimer::timeout, [&answered] { ActAsUser(answered); });
  robot.start(20);
  RunState run;
  InitRunState(run, ProgramFilePath());
  return RunDesktop(run);
}

}  // namespace

class tst_RunSequence : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallStrictQtMessageHandler(); }
  void wholeRun_data();
  void wholeRun();
};

// Which run ends how is the run phases' rule, tested with them; these runs
// check that the Qt windows and the run thread carry it out.
void tst_RunSequence::wholeRun_data() {
  QTest::addColumn<QString>("settings");
  QTest::addColumn<bool>("recorder");  // bin/sndrec32.exe, which notes what it got
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("index");  // "whole" or "half"
  QTest::addColumn<int>("gifs");       // more pictures, 0.gif, 1.gif, ...
  QTest::newRow("album made") << "ok" << true << 0 << "whole" << 0;
  QTest::newRow("fatal on the run thread: no recorder") << "ok" << false << 1 << "half" << 0;
  QTest::newRow("Avbryt during a long run without recordings")
      << "never" << true << 1 << "half" << 3000;
}

void tst_RunSequence::wholeRun() {
  QFETCH(QString, settings);
  QFETCH(bool, recorder);
  QFETCH(int, exitCode);
  QFETCH(QString, index);
  QFETCH(int, gifs);
  const QTemporaryDir dir;
  const auto Path = [&dir](const QString& relative) { return dir.path() + "/" + relative; };
  const auto Write = [&](const QString& relative, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.setPermissions(file.permissions() | QFile::ExeOwner);
  };
  Write("Album/a.jpg", QByteArray::fromStdString(JpegBytes(80, 60)));
  Write("Album/Resa/b.jpg", QByteArray::fromStdString(JpegBytes(60, 80)));
  for (int i = 0; i < gifs; ++i) {
    Write(QString("Album/%1.gif").arg(i), QByteArray::fromStdString(GifBytes(10, 10)));
  }
  Write("bin/browser", "#!/bin/sh\necho \"$@\" >> \"$0.log\"\n");
  if (recorder) {
    Write("bin/sndrec32.exe", "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n");
  }
  qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
  WriteSetting("LastDir", Path("remembered").toStdString());

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("PATH", Path("bin") + ":/usr/bin:/bin");
  environment.insert("BROWSER", Path("bin/browser"));
  environment.insert("ROBOT_SETTINGS", settings);
  environment.insert("ROBOT_FOLDER", Path("Album"));
  // Cancelled once the first picture is logged and its page written.
  environment.insert("ROBOT_CANCEL_WHEN", gifs > 0 ? Path("Album/0.html") : QString());
  QProcess child;
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run-with-robot")});
  QVERIFY(child.waitForFinished(30000));
  const QString said = QString::fromUtf8(child.readAllStandardError());
  QCOMPARE(child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1, exitCode);
  // A fatal error is told; cancelling is not.
  QVERIFY2(!recorder ? said.startsWith("Fatal Error: ") : !said.contains("Error"),
           qPrintable(said));

  QFile page(Path("Album/index.html"));
  QVERIFY(page.open(QIODevice::ReadOnly));
  QCOMPARE(page.readAll().contains("</html>"), index == "whole");
  QCOMPARE(QFile::exists(Path("Album/Resa/index.html")), index == "whole");
  const QString lastDir = QString::fromStdString(ReadSetting("LastDir"));
  QCOMPARE(lastDir, index == "whole" ? Path("Album") : Path("remembered"));
  QVERIFY(index != "whole" || QFile::exists(Path("Album/a.wav")));
  QCOMPARE(QFile::exists(Path("bin/browser.log")), index == "whole");
  // The run stops soon after "Avbryt", not at the album's end.
  const qsizetype pages = QDir(Path("Album")).entryList({"*.html"}).size();
  QVERIFY2(gifs == 0 || pages < gifs / 2, qPrintable(QString::number(pages)));
}

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--run-with-robot") {
    return RunWithRobot(argc, argv);
  }
  QApplication application(argc, argv);
  tst_RunSequence test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_run_sequence.moc"
