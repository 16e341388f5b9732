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
  QTest::addColumn<QString>("after");  // The log held "abc" with the cursor after "a".
  QTest::addColumn<bool>("beeps");
  QTest::newRow("letter") << int(Qt::Key_Q) << 0 << "q"
                          << "abc\n"
                          << true;
  QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b"
                             << "bc\n"
                             << false;
  QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << "\x7f"
                          << "ac\n"
                          << false;
  QTest::newRow("enter") << int(Qt::Key_Return) << 0 << "\r"
                         << "abc\n"
                         << false;
  QTest::newRow("ctrl held (AltGr)")
      << int(Qt::Key_At) << int(Qt::ControlModifier | Qt::AltModifier) << "@"
      << "a@bc\n"
      << false;
  QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16"
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
  QTEST(log->toPlainText(), "after");
  QTEST(refused.size() == 1, "beeps");
  QVERIFY(!window.IsClosed());
}

void tst_ProgressWindow::clearLastLineRemovesTheWholeLineOnce() {
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
  // A line is cut at 1023 bytes, not inside a character.
  window.LogLine(std::string(1022, 'a') + "\xc3\xb6");
  QCOMPARE(LogText(window), QStringLiteral("ins\n") + QString(1022, QLatin1Char('a')) + "\n");
}

void tst_ProgressWindow::cancelCloseBoxAndEscapeSetTheFlag() {
  for (const int how : {0, 1, 2}) {
    ProgressWindow window;
    window.show();
    QVERIFY(!window.PollCancel());
    if (how == 0) {
      QTest::mouseClick(Button(window, "cancelButton"), Qt::LeftButton);
    } else if (how == 1) {
      QTest::keyClick(Log(window), Qt::Key_Escape);
    } else {
      window.close();
    }
    QVERIFY(window.PollCancel() && window.IsClosed() && !window.isVisible());
    window.FinishProgress();  // Returns at once: the window is gone.
    QVERIFY(!Button(window, "okButton")->isEnabled());
  }
}

void tst_ProgressWindow::runThreadCallsWaitForTheWindow() {
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

QTEST_MAIN(tst_ProgressWindow)
#include "tst_progress_window.moc"
