#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "tests/qt_test_support.h"
#include "ui/log_edit.h"
#include "ui/progress_window.h"

class tst_ProgressWindow : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallStrictQtMessageHandler(); }
  void logRefusesTypingAndPasting_data();
  void logRefusesTypingAndPasting();
  void clearLastLineRemovesTheWholeLineOnce();
  void cancelCloseBoxAndEscapeSetTheFlag_data();
  void cancelCloseBoxAndEscapeSetTheFlag();
  void runThreadCallsWaitForTheWindow();
};

namespace {

LogEdit* Log(ProgressWindow& window) {
  return window.findChild<LogEdit*>(QStringLiteral("log"));
}

QPushButton* Button(ProgressWindow& window, const char* name) {
  return window.findChild<QPushButton*>(QLatin1String(name));
}

QString LogText(ProgressWindow& window) {
  Log(window)->Flush();
  return Log(window)->toPlainText();
}

}  // namespace

void tst_ProgressWindow::logRefusesTypingAndPasting_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("after");
  QTest::addColumn<bool>("beeps");
  // The log holds "abc\n" with the cursor after "a"; the clipboard holds "xyz".
  const int none = Qt::NoModifier;
  const int ctrl = Qt::ControlModifier;
  QTest::newRow("letter") << int(Qt::Key_Q) << none << "q"
                          << "abc\n"
                          << true;
  QTest::newRow("blank") << int(Qt::Key_Space) << none << " "
                         << "abc\n"
                         << true;
  QTest::newRow("shifted") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << "Q"
                           << "abc\n"
                           << true;
  QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << "\b"
                             << "bc\n"
                             << false;
  QTest::newRow("delete") << int(Qt::Key_Delete) << none << "\x7f"
                          << "ac\n"
                          << false;
  QTest::newRow("enter goes to the dialog") << int(Qt::Key_Return) << none << "\r"
                                            << "abc\n"
                                            << false;
  QTest::newRow("with ctrl (AltGr)")
      << int(Qt::Key_At) << int(Qt::ControlModifier | Qt::AltModifier) << "@"
      << "a@bc\n"
      << false;
  QTest::newRow("ctrl+v") << int(Qt::Key_V) << ctrl << "\x16"
                          << "abc\n"
                          << true;
  QTest::newRow("shift+insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << ""
                                << "abc\n"
                                << true;
}

void tst_ProgressWindow::logRefusesTypingAndPasting() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QString, text);
  QFETCH(QString, after);
  QFETCH(bool, beeps);
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

  QCOMPARE(log->toPlainText(), after);
  QCOMPARE(refused.size(), beeps ? 1 : 0);
  QVERIFY(!window.IsClosed());
}

void tst_ProgressWindow::clearLastLineRemovesTheWholeLineOnce() {
  ProgressWindow window;
  window.LogLine("eins");
  window.LogLine("zwei\ndrei");
  window.ClearLastLine();
  QCOMPARE(LogText(window), QStringLiteral("eins\n"));
  window.ClearLastLine();
  QCOMPARE(LogText(window), QStringLiteral("eins\n"));

  // Once shown, the user's deletions before the line do not shift what is removed.
  window.LogLine("vier");
  QCOMPARE(LogText(window), QStringLiteral("eins\nvier\n"));
  QTextCursor cursor(Log(window)->document());
  cursor.deleteChar();
  window.ClearLastLine();
  window.ClearLastLine();
  QCOMPARE(LogText(window), QStringLiteral("ins\n"));

  // A line is cut at 1023 bytes, not inside a character.
  window.LogLine(std::string(1022, 'a') + "\xc3\xb6");
  QCOMPARE(LogText(window), QStringLiteral("ins\n") + QString(1022, QLatin1Char('a')) + "\n");
}

void tst_ProgressWindow::cancelCloseBoxAndEscapeSetTheFlag_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Avbryt") << "button";
  QTest::newRow("Escape") << "escape";
  QTest::newRow("close box") << "close";
}

void tst_ProgressWindow::cancelCloseBoxAndEscapeSetTheFlag() {
  QFETCH(QString, how);
  ProgressWindow window;
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(!window.PollCancel());
  if (how == "button") {
    QTest::mouseClick(Button(window, "cancelButton"), Qt::LeftButton);
  } else if (how == "escape") {
    QTest::keyClick(Log(window), Qt::Key_Escape);
  } else {
    window.close();
  }
  QVERIFY(window.PollCancel());
  QVERIFY(window.IsClosed());
  QVERIFY(!window.isVisible());
  window.FinishProgress();  // Returns at once: the window is gone.
  QVERIFY(!Button(window, "okButton")->isEnabled());
}

void tst_ProgressWindow::runThreadCallsWaitForTheWindow() {
  ProgressWindow window;
  window.show();
  QVERIFY(!Button(window, "okButton")->isEnabled());
  std::atomic<int> step{0};
  // Answers the box from inside its own event loop, noting how far the run got.
  QString seen;
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
  QTRY_COMPARE(step.load(), 2);
  QCOMPARE(seen, QStringLiteral("Error: <b>x</b> at step 1"));
  QCOMPARE(LogText(window), QStringLiteral("Bilder/a.jpg\n"));
  QTRY_VERIFY(Button(window, "okButton")->isEnabled());
  QCOMPARE(step.load(), 2);
  QTest::mouseClick(Button(window, "okButton"), Qt::LeftButton);
  QTRY_COMPARE(step.load(), 3);
  run.join();
  QVERIFY(!window.PollCancel());

  // Closed: calls return without the GUI thread, which is busy joining.
  std::thread late([&] {
    window.LogLine("late");
    window.ClearLastLine();
    window.FinishProgress();
  });
  late.join();
  QCOMPARE(LogText(window), QStringLiteral("Bilder/a.jpg\n"));
}

QTEST_MAIN(tst_ProgressWindow)
#include "tst_progress_window.moc"
