// Whole runs of the desktop program in a child process of this test: the child
// runs the real sequence while a robot answers each window as a user would,
// and the parent checks the exit code and what landed on disk.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <csignal>

#include "app/preferences.h"
#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"
#include "tests/picture_files.h"
#include "tests/qt_test_support.h"
#include "ui/progress_window.h"

namespace {

void ClickButton(QWidget* window, const QString& text) {
  for (auto* button : window->findChildren<QPushButton*>()) {
    if (button->text() == text && button->isEnabled()) {
      button->click();
      return;
    }
  }
}

// Answers each window once: the settings dialog as ROBOT_SETTINGS says ("ok"
// or "cancel"), the picker with ROBOT_FOLDER (empty: cancel), every message
// box with OK; presses "Avbryt" in the progress window once
// the file ROBOT_CANCEL_WHEN exists.
void ActAsUser(QPointer<QWidget>& answered) {
  const QString cancelWhen = qEnvironmentVariable("ROBOT_CANCEL_WHEN");
  if (!cancelWhen.isEmpty() && QFile::exists(cancelWhen)) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (qobject_cast<ProgressWindow*>(window) != nullptr && window->isVisible()) {
        ClickButton(window, QStringLiteral("Avbryt"));
      }
    }
  }
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || modal == answered) {
    return;
  }
  answered = modal;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    box->accept();  // Its text is on standard error.
    return;
  }
  auto* tree = modal->findChild<QTreeView*>(QStringLiteral("folders"));
  const QString answer = qEnvironmentVariable(tree != nullptr ? "ROBOT_FOLDER" : "ROBOT_SETTINGS");
  if (tree != nullptr && !answer.isEmpty()) {
    tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(answer));
  }
  const bool ok = !answer.isEmpty() && answer != QLatin1String("cancel");
  ClickButton(modal, ok ? QStringLiteral("OK") : QStringLiteral("Avbryt"));
}

int RunWithRobot(int argc, char** argv) {
  QApplication application(argc, argv);
  InstallStrictQtMessageHandler();
  QPointer<QWidget> answered;
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
  void init();
  void wholeRun_data();
  void wholeRun();
  void cancelDuringRecordingEndsTheRun();

 private:
  QString Path(const QString& relative) const { return dir_->path() + "/" + relative; }
  void Write(const QString& relative, const std::string& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.setPermissions(file.permissions() | (executable ? QFile::ExeOwner : QFile::Permission{}));
  }
  // Starts the desktop run in a child process with the robot's answers.
  void Start(QProcess& child, const QString& settings, const QString& folder,
             const QString& cancelWhen = {});

  std::unique_ptr<QTemporaryDir> dir_;
};

void tst_RunSequence::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  Write("Album/a.jpg", JpegBytes(80, 60));
  Write("Album/Resa/b.jpg", JpegBytes(60, 80));
  Write("bin/browser", "#!/bin/sh\necho \"$@\" >> \"$0.log\"\n", true);
  qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
  WriteSetting("LastDir", Path("remembered").toStdString());
}

void tst_RunSequence::Start(QProcess& child, const QString& settings, const QString& folder,
                            const QString& cancelWhen) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("PATH", Path("bin") + ":/usr/bin:/bin");
  environment.insert("BROWSER", Path("bin/browser"));
  environment.insert("ROBOT_SETTINGS", settings);
  environment.insert("ROBOT_FOLDER", folder);
  environment.insert("ROBOT_CANCEL_WHEN", cancelWhen);
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run-with-robot")});
  QVERIFY(child.waitForStarted());
}

void tst_RunSequence::wholeRun_data() {
  QTest::addColumn<QString>("settings");
  QTest::addColumn<bool>("pickAlbum");
  QTest::addColumn<bool>("recorder");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("index");  // "none", "whole" or "half"
  QTest::addColumn<bool>("remembered");
  QTest::newRow("album made") << "ok" << true << true << 0 << "whole" << true;
  QTest::newRow("settings cancelled") << "cancel" << true << true << 0 << "none" << false;
  QTest::newRow("picker cancelled") << "ok" << false << true << 0 << "none" << false;
  QTest::newRow("fatal: no recorder") << "ok" << true << false << 1 << "half" << false;
}

void tst_RunSequence::wholeRun() {
  QFETCH(QString, settings);
  QFETCH(bool, pickAlbum);
  QFETCH(bool, recorder);
  QFETCH(int, exitCode);
  QFETCH(QString, index);
  QFETCH(bool, remembered);
  if (recorder) {
    Write("bin/sndrec32.exe", "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n", true);
  }
  QProcess child;
  Start(child, settings, pickAlbum ? Path("Album") : QString());
  QVERIFY(child.waitForFinished(30000));
  const QString said = QString::fromUtf8(child.readAllStandardError());
  QCOMPARE(child.exitStatus(), QProcess::NormalExit);
  QCOMPARE(child.exitCode(), exitCode);

  QFile page(Path("Album/index.html"));
  QCOMPARE(page.exists(), index != "none");
  QCOMPARE(QFile::exists(Path("Album/Resa/index.html")), index == "whole");
  if (page.open(QIODevice::ReadOnly)) {
    QCOMPARE(page.readAll().contains("</html>"), index == "whole");
  }
  const std::string lastDir = ReadSetting("LastDir");
  QCOMPARE(QString::fromStdString(lastDir), remembered ? Path("Album") : Path("remembered"));
  if (index == "whole") {
    QVERIFY(QFile::exists(Path("Album/a.wav")));
    QVERIFY(QFile(Path("bin/browser.log")).size() > 0);
  }
  if (exitCode == 1) {
    QVERIFY2(said.startsWith("Fatal Error: "), qPrintable(said));
  }
}

void tst_RunSequence::cancelDuringRecordingEndsTheRun() {
  const QString pidFile = Path("recorder.pid");
  Write("bin/sndrec32.exe", "#!/bin/sh\necho $$ > \"" + pidFile.toStdString() + "\"\nsleep 60\n",
        true);
  QProcess child;
  Start(child, "ok", Path("Album"), pidFile);
  QTRY_VERIFY_WITH_TIMEOUT(QFile(pidFile).size() > 0, 30000);
  QElapsedTimer sinceRecorderStarted;
  sinceRecorderStarted.start();
  QVERIFY(child.waitForFinished(10000));
  QCOMPARE(child.exitCode(), 1);
  QVERIFY2(sinceRecorderStarted.elapsed() < 3000,
           qPrintable(QString::number(sinceRecorderStarted.elapsed())));
  QVERIFY(!child.readAllStandardError().contains("Error"));  // No message.
  QFile pid(pidFile);
  QVERIFY(pid.open(QIODevice::ReadOnly));
  const QString recorder = QString::fromUtf8(pid.readAll()).trimmed();
  QVERIFY(!QFile::exists("/proc/" + recorder));
  QCOMPARE(QString::fromStdString(ReadSetting("LastDir")), Path("remembered"));
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
