// The settings and About dialogs, driven as a user would while they run modally.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "app/preferences.h"
#include "tests/qt_test_support.h"
#include "tests/test_support.h"
#include "ui/qt/settings_dialog.h"

namespace {

template <typename T>
T* Find(QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
  return widget != nullptr ? widget : (qFatal("the dialog has no %s", name), nullptr);
}

}  // namespace

class tst_SettingsDialog : public QObject {
  Q_OBJECT

 private:
  void AddTemplate(const QString& name, const std::string& indexText = IndexWithCells(3)) {
    dir_->Write("mallar/" + name.toStdString() + "_index.html", indexText);
    dir_->Write("mallar/" + name.toStdString() + "_picture.html", "<p>" + name.toStdString());
  }

  // Runs the settings dialog and does `act` with it once it is shown. Returns the dialog's
  // result, or -1 when it stayed open after `act` (and was then cancelled).
  int Run(const std::function<void(QDialog&)>& act) {
    bool stayedOpen = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      act(*dialog);
      stayedOpen = dialog->isVisible();
      if (stayedOpen) {
        dialog->reject();
      }
    });
    const int result = SettingsDialog(run_, nullptr);
    return stayedOpen ? -1 : result;
  }

  std::unique_ptr<TempDir> dir_;
  std::optional<RecordingWindows> windows_;
  RunState run_;

 private slots:
  void initTestCase() { InstallStrictQtMessageHandler(); }

  void init() {
    dir_ = std::make_unique<TempDir>();
    windows_.emplace();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(*dir_ / "config"));
    qputenv("BROWSER", QByteArray::fromStdString(dir_->WriteScript(
                           "browser", "echo \"$*\" >> '" + *dir_ / "browser.log" + "'")));
    dir_->Write("dok/korvalo.html", "<html></html>");
    run_ = RunState{};
    InitRunState(run_, *dir_ / "korvalo");
    run_.Windows = &*windows_;
  }

  // Escape and the close box reject the dialog as the Avbryt button does. Nothing cancelled
  // is kept: the next run starts from the saved choices. Enter presses OK; a refusal's
  // message is owned by the dialog, and the run's owner never outlives it.
  void cancelledThenRefusedThenAccepted() {
    AddTemplate("Blå");
    AddTemplate("Enkel");
    const int cancelled = Run([](QDialog& dialog) {
      Find<QComboBox>(dialog, "templateList")->setCurrentIndex(0);
      Find<QLineEdit>(dialog, "thumbnailsField")->setText("7");
      Find<QRadioButton>(dialog, "recordAlwaysButton")->setChecked(true);
      QTest::keyClick(Find<QPushButton>(dialog, "cancelButton"), Qt::Key_Space);
    });
    QCOMPARE(cancelled, 0);
    QVERIFY(run_.Templates.IndexTemplate.empty());
    const QDialog* shown = nullptr;
    const int accepted = Run([&](QDialog& dialog) {
      shown = &dialog;
      QVERIFY(Find<QRadioButton>(dialog, "recordWhenMissingButton")->isChecked());
      QVERIFY(Find<QCheckBox>(dialog, "includeSubfoldersBox")->isChecked());
      auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
      field->setText("x");
      QTest::keyClick(field, Qt::Key_Return);
      QVERIFY(dialog.isVisible());

      Find<QRadioButton>(dialog, "recordNeverButton")->setChecked(true);
      Find<QCheckBox>(dialog, "openBrowserBox")->setChecked(false);
      field->setText("0");
      Find<QPushButton>(dialog, "okButton")->click();
    });
    QCOMPARE(accepted, 1);
    QCOMPARE(windows_->messages_,
             std::vector<std::string>{"Error: Otillåtet värde för antal miniatyrer"});
    QCOMPARE(windows_->owners_, std::vector<MessageOwner>{shown});
    QCOMPARE(run_.Owner, nullptr);
    QCOMPARE(run_.Templates.PictureTemplate, "<p>Enkel");
    QCOMPARE(run_.Settings.Recording, RecordNever);
    QCOMPARE(run_.Settings.OpenBrowserWhenDone, false);
    QCOMPARE(run_.Settings.IncludeSubfolders, true);
  }

  // The rules choose the template and the count (ui/settings_rules_test.cpp); here the
  // dialog shows them, with the focus on the list, and a new choice overwrites the field.
  void opensAtTheRememberedTemplateCentred() {
    AddTemplate("Blå", IndexWithCells(1));
    AddTemplate("enkel", IndexWithCells(5));
    WriteSetting("LastTemplate", "ENK");
    Run([](QDialog& dialog) {
      const QRect screen = QGuiApplication::primaryScreen()->geometry();
      const QSize frame = dialog.frameGeometry().size();
      // A third of the room above.
      QCOMPARE(dialog.pos(), QPoint((screen.width() - frame.width()) / 2,
                                    (screen.height() - frame.height()) / 3));
      auto* list = Find<QComboBox>(dialog, "templateList");
      auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
      QCOMPARE(list->currentText(), "enkel");
      QCOMPARE(field->text(), "5");
      QCOMPARE(dialog.focusWidget(), list);
      field->setText("9");
      QTest::keyClick(list, Qt::Key_Up);
      QCOMPARE(field->text(), "2");  // one cell proposes 2
    });
  }

  void helpAndAbout() {
    AddTemplate("Enkel");
    const std::string page = "file://" + *dir_ / "dok/korvalo.html";
    const int result = Run([&](QDialog& settings) {
      Find<QPushButton>(settings, "helpButton")->click();
      QTRY_COMPARE(ReadFileBytes(*dir_ / "browser.log"), page + "#usage\n");
      QTimer::singleShot(0, this, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(about != nullptr && about->parentWidget() == &settings);
        QCOMPARE(about->windowTitle(), "Om Korvalo");
        QVERIFY(QRegularExpression("^Korvalo\n\nVersion: 1\\.1\nDatum: [A-Z][a-z]{2} [1-9]\\d? "
                                   "\\d{4}\n\n.+\n\n.+\n .+\n\nVälj \"Hjälp\" för information om "
                                   "hur detta program kan användas och distribueras$")
                    .match(Find<QLabel>(*about, "aboutText")->text())
                    .hasMatch());
        Find<QPushButton>(*about, "helpButton")->click();
        QTRY_COMPARE(ReadFileBytes(*dir_ / "browser.log"), page + "#usage\n" + page + "#legal\n");
        QVERIFY(about->isVisible());
        QTest::keyClick(about, Qt::Key_Return);
      });
      Find<QPushButton>(settings, "aboutButton")->click();  // returns when About has closed
    });
    QCOMPARE(result, -1);
  }
};

QTEST_MAIN(tst_SettingsDialog)
#include "tst_settingsdialog.moc"
