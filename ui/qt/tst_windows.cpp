// The progress window, across the run thread, and the folder picker.

#include <QAbstractProxyModel>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <atomic>
#include <thread>

#include "tests/qt_test_support.h"
#include "ui/qt/folder_picker.h"
#include "ui/qt/log_edit.h"
#include "ui/qt/pictures_folder.h"
#include "ui/qt/progress_window.h"

namespace {

LogEdit* Log(ProgressWindow& window) {
  return window.findChild<LogEdit*>(QStringLiteral("log"));
}

QPushButton* Button(QWidget& window, const char* name) {
  return window.findChild<QPushButton*>(QLatin1String(name));
}

QString LogText(ProgressWindow& window) {
  Log(window)->Flush();
  return Log(window)->toPlainText();
}

// Opens the picker at `start`, notes the folder, status and title it opened
// with, selects `choice` (none: keeps the start) and returns what OK gives.
std::string Answer(const std::string& start, const QString& choice, QString& seen) {
  QTimer robot;
  QObject::connect(&robot, &QTimer::timeout, [&] {
    QWidget* picker = QApplication::activeModalWidget();
    auto* tree = picker ? picker->findChild<QTreeView*>(QStringLiteral("folders")) : nullptr;
    if (tree == nullptr) {
      return;
    }
    robot.stop();
    auto* names = static_cast<QAbstractProxyModel*>(tree->model());
    auto* model = static_cast<QFileSystemModel*>(names->sourceModel());
    seen = model->filePath(names->mapToSource(tree->currentIndex())) + " | " +
           picker->findChild<QLabel*>(QStringLiteral("status"))->text() + " | " +
           picker->findChild<QLabel*>(QStringLiteral("title"))->text();
    if (!choice.isEmpty()) {
      tree->setCurrentIndex(names->mapFromSource(model->index(choice)));
    }
    picker->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  });
  robot.start(10);
  return BrowseForFolder(nullptr, start, "Välj en mapp med bilder");
}

}  // namespace

class tst_Windows : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    InstallStrictQtMessageHandler();
    QVERIFY(QDir(dir_.path()).mkpath("Bilder/Resa 2007") && QDir(dir_.path()).mkpath("Pictures"));
  }

  void logRefusesTypingAndPasting_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");  // The log held "abc" with the cursor after "a".
    QTest::addColumn<bool>("beeps");
    const auto row = [](const char* name, int key, int modifiers, const char* text,
                        const char* after, bool beeps) {
      QTest::newRow(name) << key << modifiers << QString(text) << QString(after) << beeps;
    };
    row("letter", Qt::Key_Q, 0, "q", "abc", true);
    row("backspace", Qt::Key_Backspace, 0, "\b", "bc", false);
    row("delete", Qt::Key_Delete, 0, "\x7f", "ac", false);
    row("enter", Qt::Key_Return, 0, "\r", "abc", false);
    row("ctrl held (AltGr)", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", "a@bc", false);
    row("ctrl+v", Qt::Key_V, Qt::ControlModifier, "\x16", "abc", true);
  }

  void logRefusesTypingAndPasting() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, after);
    ProgressWindow window;
    window.show();
    window.LogLine("abc");
    LogEdit* log = Log(window);
    log->Flush();
    QTextCursor cursor(log->document());
    cursor.setPosition(1);
    log->setTextCursor(cursor);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    QSignalSpy refused(log, &LogEdit::refused);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(log, &press);
    QCOMPARE(log->toPlainText(), after + "\n");
    QTEST(refused.size() == 1, "beeps");
    QVERIFY(!window.IsClosed());
  }

  void clearLastLineRemovesTheWholeLineOnce() {
    ProgressWindow window;
    window.LogLine("eins");
    window.LogLine("zwei\ndrei");
    window.ClearLastLine();
    window.ClearLastLine();
    QCOMPARE(LogText(window), QStringLiteral("eins\n"));
    // Once shown, the user's deletions before the line do not shift what is removed.
    window.LogLine("vier");
    QCOMPARE(LogText(window), QStringLiteral("eins\nvier\n"));
    QTextCursor(Log(window)->document()).deleteChar();
    window.ClearLastLine();
    window.ClearLastLine();
    QCOMPARE(LogText(window), QStringLiteral("ins\n"));
  }

  // The close box is the run sequence's way to cancel, tested there.
  void cancelAndEscapeSetTheFlag() {
    for (const bool escape : {false, true}) {
      ProgressWindow window;
      window.show();
      if (escape) {
        QTest::keyClick(Log(window), Qt::Key_Escape);
      } else {
        QTest::mouseClick(Button(window, "cancelButton"), Qt::LeftButton);
      }
      QVERIFY(window.PollCancel() && window.IsClosed() && !window.isVisible());
      window.FinishProgress();  // Returns at once: the window is gone.
      QVERIFY(!Button(window, "okButton")->isEnabled());
    }
  }

  void runThreadCallsWaitForTheWindow() {
    ProgressWindow window;
    window.show();
    QVERIFY(!Button(window, "okButton")->isEnabled());
    std::atomic<int> step{0};
    QString seen;  // The box, answered from inside its own event loop.
    QTimer robot;
    connect(&robot, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen = box->windowTitle() + ": " + box->text() + " at step " + QString::number(step);
        box->button(QMessageBox::Ok)->click();
      }
    });
    robot.start(10);
    std::thread run([&] {
      window.LogLine("Bilder/a.jpg");
      step = 1;
      window.ShowMessageBox(static_cast<const QWidget*>(&window), "Error", "<b>x</b>");
      step = 2;
      window.FinishProgress();
      step = 3;
    });
    QTRY_VERIFY(Button(window, "okButton")->isEnabled());
    QCOMPARE(seen, QStringLiteral("Error: <b>x</b> at step 1"));
    QCOMPARE(step.load(), 2);
    QCOMPARE(LogText(window), QStringLiteral("Bilder/a.jpg\n"));
    QTest::mouseClick(Button(window, "okButton"), Qt::LeftButton);
    QTRY_COMPARE(step.load(), 3);
    run.join();
    QVERIFY(!window.PollCancel());

    // Closed: calls return without the GUI thread, which is busy joining.
    std::thread([&] {
      window.LogLine("late");
      window.ClearLastLine();
      window.FinishProgress();
    }).join();
    QCOMPARE(LogText(window), QStringLiteral("Bilder/a.jpg\n"));
  }

  void pickerOpensAtTheStartFolderAndReturnsTheChoice_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("result");
    const QString trip = dir_.path() + "/Bilder/Resa 2007";
    QTest::newRow("start kept") << trip << QString() << trip;
    QTest::newRow("trailing slash") << trip + "/" << QString() << trip;
    QTest::newRow("root") << trip << "/"
                          << "/";
    QTest::newRow("gone folder opens nearby") << trip + "/borta/x" << QString() << trip;
  }

  void pickerOpensAtTheStartFolderAndReturnsTheChoice() {
    QFETCH(QString, start);
    QFETCH(QString, choice);
    QString seen;
    QTEST(QString::fromStdString(Answer(start.toStdString(), choice, seen)), "result");
    const QString trip = dir_.path() + "/Bilder/Resa 2007";
    QCOMPARE(seen, trip + " | " + trip + " | &Välj en mapp med bilder");
  }

  // A folder's name is data: markup in it shows as the characters it is, not
  // as a picture and large red letters (nor does a screen reader get "Fake").
  void pickerShowsANameAsItIs() {
    const QString odd = dir_.path() + "/<img src=x.png><font color=red size=6>Fake";
    QVERIFY(QDir().mkpath(odd));
    QString shown;
    QString spoken;
    Qt::TextFormat format = Qt::AutoText;
    QTimer robot;
    connect(&robot, &QTimer::timeout, [&] {
      QWidget* picker = QApplication::activeModalWidget();
      auto* status =
          picker != nullptr ? picker->findChild<QLabel*>(QStringLiteral("status")) : nullptr;
      if (status != nullptr && !status->text().isEmpty()) {
        robot.stop();
        shown = status->text();
        format = status->textFormat();
        spoken = QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name);
        picker->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
      }
    });
    robot.start(10);
    QCOMPARE(QString::fromStdString(BrowseForFolder(nullptr, odd.toStdString(), "Välj")), odd);
    QCOMPARE(shown, odd);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(spoken, odd);
  }

  // Without a start folder: XDG_PICTURES_DIR, else user-dirs.dirs, else
  // ~/Bilder. Last, as it leaves HOME and XDG_CONFIG_HOME at the test folder.
  void pickerFirstOpensAtThePicturesFolder() {
    const QString base = dir_.path();
    qputenv("HOME", base.toUtf8());
    qputenv("XDG_PICTURES_DIR", (base + "/Bilder").toUtf8());
    QCOMPARE(DefaultPicturesFolder(), base + "/Bilder");
    qputenv("XDG_PICTURES_DIR", (base + "/none").toUtf8());  // Missing: skipped.
    qputenv("XDG_CONFIG_HOME", base.toUtf8());
    QFile dirs(base + "/user-dirs.dirs");
    QVERIFY(dirs.open(QIODevice::WriteOnly) && dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n"));
    dirs.close();
    QCOMPARE(DefaultPicturesFolder(), base + "/Pictures");
    QVERIFY(dirs.remove());
    QString seen;
    QCOMPARE(QString::fromStdString(Answer("", {}, seen)), base + "/Bilder");
    QVERIFY(seen.startsWith(base + "/Bilder | "));
  }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
