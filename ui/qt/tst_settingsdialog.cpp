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
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "app/preferences.h"
#include "tests/qt_test_support.h"
#include "tests/test_support.h"
#include "ui/qt/settings_dialog.h"
#include "ui/qt/window_placement.h"

namespace {

std::string IndexWithCells(int cells) {
  return "<html><body><table>\r\n<tr>\r\n" +
         QString("<td>__picture.jpg</td>\r\n").repeated(cells).toStdString() +
         "</tr>\r\n</table></body></html>\r\n";
}

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

  void preselection_data() {
    QTest::addColumn<QStringList>("templates");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("field");
    const auto row = [](const char* name, const QStringList& templates, const QString& remembered,
                        const QString& selected, const QString& field) {
      QTest::newRow(name) << templates << remembered << selected << field;
    };
    const QStringList three{"Röd", "enkel", "Blå"};
    row("none remembered: the second", three, "", "enkel", "3");
    row("one, none remembered", {"Enkel"}, "", "", "2");
    row("a prefix in any case", three, "ENK", "enkel", "3");
    row("the name itself first", {"ENKEL", "Enkel", "Enkel2", "enkel"}, "enkel", "enkel", "3");
    row("search from the second", {"Enkel1", "Enkel2"}, "Enkel", "Enkel2", "3");
    row("and wrap to the first", three, "bl", "Blå", "3");
    row("a name no longer there", three, "Grå", "", "2");
  }

  void preselection() {
    QFETCH(QStringList, templates);
    QFETCH(QString, remembered);
    for (const QString& name : templates) {
      AddTemplate(name);
    }
    WriteSetting("LastTemplate", remembered.toStdString());
    Run([&](QDialog& dialog) {
      auto* list = Find<QComboBox>(dialog, "templateList");
      QTEST(list->currentText(), "selected");
      QTEST(Find<QLineEdit>(dialog, "thumbnailsField")->text(), "field");
      QCOMPARE(dialog.focusWidget(), list);
    });
  }

  void okPress_data() {
    QTest::addColumn<QStringList>("templates");  // "!": an index without row and cell
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("accepted");     // -1: refused, the dialog stays open
    QTest::addColumn<QString>("message");  // %1: the templates folder
    const QStringList two{"Blå", "Enkel"};
    const QString invalid = "Error: Otillåtet värde för antal miniatyrer";
    QTest::newRow("trailing letter") << two << "3x" << 3 << "";
    QTest::newRow("ten digits: nine read") << two << "1234567890" << 123456789 << "";
    QTest::newRow("negative") << two << "-1" << -1 << invalid;
    QTest::newRow("empty") << two << "" << -1 << invalid;
    QTest::newRow("index without row and cell")
        << QStringList{"Blå", "Trasig!"} << "3" << -1
        << "Error: Indexmallen saknar en tabellrad \"<tr>\" med en cell \"</td>\": "
           "\"%1Trasig_index.html\"";
    QTest::newRow("no template selected")
        << QStringList{"Enkel"} << "3" << -1 << "Error: Välj en mall i listan";
  }

  void okPress() {
    QFETCH(QStringList, templates);
    QFETCH(QString, field);
    QFETCH(int, accepted);
    QFETCH(QString, message);
    for (const QString& name : templates) {
      AddTemplate(QString(name).remove('!'), name.endsWith('!') ? "<p>" : IndexWithCells(3));
    }
    const QDialog* shown = nullptr;
    const int result = Run([&](QDialog& dialog) {
      shown = &dialog;
      auto* edit = Find<QLineEdit>(dialog, "thumbnailsField");
      edit->setText(field);
      QTest::keyClick(edit, Qt::Key_Return);  // Enter presses OK
    });
    QCOMPARE(result, accepted >= 0 ? 1 : -1);
    QCOMPARE(run_.Settings.ThumbnailsPerRow, std::max(accepted, 0));
    message.replace("%1", QString::fromStdString(run_.Paths.TemplatesFolder));
    QCOMPARE(windows_->messages_,
             std::vector<std::string>(!message.isEmpty(), message.toStdString()));
    QCOMPARE(windows_->owners_, std::vector<MessageOwner>(windows_->messages_.size(), shown));
    QCOMPARE(run_.Owner, nullptr);  // never left pointing at the closed dialog
  }

  // Escape and the close box reject the dialog as the Avbryt button does. Nothing cancelled
  // is kept: the next run starts from the saved choices.
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
    const int accepted = Run([&](QDialog& dialog) {
      QVERIFY(Find<QRadioButton>(dialog, "recordWhenMissingButton")->isChecked());
      QVERIFY(Find<QCheckBox>(dialog, "includeSubfoldersBox")->isChecked());
      auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
      auto* ok = Find<QPushButton>(dialog, "okButton");
      field->setText("x");
      ok->click();
      QCOMPARE(ReadSetting("LastTemplate"), "Enkel");
      QCOMPARE(run_.Templates.IndexTemplate, IndexWithCells(3));

      WriteSetting("LastTemplate", "Blå");
      AddTemplate("Enkel", IndexWithCells(4));  // loaded anew at the next press
      Find<QRadioButton>(dialog, "recordNeverButton")->setChecked(true);
      Find<QCheckBox>(dialog, "openBrowserBox")->setChecked(false);
      field->setText("0");
      ok->click();
    });
    QCOMPARE(accepted, 1);
    QCOMPARE(windows_->messages_.size(), std::size_t{1});
    QCOMPARE(ReadSetting("LastTemplate"), "Enkel");
    QCOMPARE(run_.Templates.IndexTemplate, IndexWithCells(4));
    QCOMPARE(run_.Templates.PictureTemplate, "<p>Enkel");
    QCOMPARE(run_.Settings.Recording, RecordNever);
    QCOMPARE(run_.Settings.OpenBrowserWhenDone, false);
    QCOMPARE(run_.Settings.IncludeSubfolders, true);
  }

  void selectionOverwritesFieldAndDialogIsCentred() {
    AddTemplate("Blå", IndexWithCells(1));
    AddTemplate("Enkel", IndexWithCells(5));
    Run([](QDialog& dialog) {
      const QRect screen = QGuiApplication::primaryScreen()->geometry();
      const QSize frame = dialog.frameGeometry().size();
      // A third of the room above; a window wider than the screen by 5 lands at -2, not -3.
      QCOMPARE(dialog.pos(), QPoint((screen.width() - frame.width()) / 2,
                                    (screen.height() - frame.height()) / 3));
      QCOMPARE(CenteredPosition(1024, 768, 1029, 300).x, -2);
      auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
      QCOMPARE(field->text(), "5");
      field->setText("9");
      QTest::keyClick(Find<QComboBox>(dialog, "templateList"), Qt::Key_Up);
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
