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

#include "app/preferences.h"
#include "korvalo_build_date.h"
#include "tests/qt_test_support.h"
#include "tests/test_support.h"
#include "ui/settings_dialog.h"
#include "ui/window_placement.h"

namespace {

// An index template whose first row holds `cells` cells.
std::string IndexWithCells(int cells) {
  std::string text = "<html><body><table>\r\n<tr>\r\n";
  for (int i = 0; i < cells; ++i) {
    text += "<td>__picture.jpg</td>\r\n";
  }
  return text + "</tr>\r\n</table></body></html>\r\n";
}

template <typename T>
T* Find(QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
  if (widget == nullptr) {
    qFatal("the dialog has no %s", name);
  }
  return widget;
}

QStringList Items(QComboBox& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) {
    items << list.itemText(i);
  }
  return items;
}

struct Outcome {
  int Result = -1;
  bool StayedOpen = false;  ///< still open after the action, then cancelled
};

}  // namespace

class tst_SettingsDialog : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallStrictQtMessageHandler(); }
  void init();
  void preselection_data();
  void preselection();
  void thumbnailsField_data();
  void thumbnailsField();
  void refusedThenAccepted();
  void refusedTemplate_data();
  void refusedTemplate();
  void cancelWritesNothing_data();
  void cancelWritesNothing();
  void selectionOverwritesFieldAndDialogIsCentred();
  void helpAndAbout();
  void centeredPosition_data();
  void centeredPosition();

 private:
  void AddTemplate(const std::string& name, const std::string& indexText = IndexWithCells(3)) {
    dir_->Write("mallar/" + name + "_index.html", indexText);
    dir_->Write("mallar/" + name + "_picture.html", "<html>" + name + "</html>");
  }
  std::string BrowserLog() const { return ReadFileBytes(*dir_ / "browser.log"); }
  // Runs the settings dialog and does `act` with it once it is shown.
  Outcome Run(const std::function<void(QDialog&)>& act);

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<RecordingWindows> windows_;
  RunState run_;
};

void tst_SettingsDialog::init() {
  dir_ = std::make_unique<TempDir>();
  windows_ = std::make_unique<RecordingWindows>();
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(*dir_ / "config"));
  const std::string browser =
      dir_->WriteScript("browser", "printf '%s\\n' \"$*\" >> '" + (*dir_ / "browser.log") + "'");
  qputenv("BROWSER", QByteArray::fromStdString(browser));
  dir_->Write("dok/korvalo.html", "<html></html>");
  dir_->MakeFolder("mallar");
  run_ = RunState{};
  InitRunState(run_, *dir_ / "korvalo");
  run_.Windows = windows_.get();
}

Outcome tst_SettingsDialog::Run(const std::function<void(QDialog&)>& act) {
  Outcome outcome;
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    act(*dialog);
    if (dialog->isVisible()) {
      outcome.StayedOpen = true;
      dialog->reject();
    }
  });
  outcome.Result = SettingsDialog(run_, nullptr);
  return outcome;
}

void tst_SettingsDialog::preselection_data() {
  QTest::addColumn<QStringList>("templates");
  QTest::addColumn<QString>("remembered");
  QTest::addColumn<QStringList>("listed");
  QTest::addColumn<QString>("selected");
  QTest::addColumn<QString>("field");
  const QStringList three{"Blå", "Enkel", "Röd"};
  QTest::newRow("none remembered: the second")
      << QStringList{"Röd", "enkel", "Blå"} << "" << QStringList{"Blå", "enkel", "Röd"} << "enkel"
      << "3";
  QTest::newRow("a single one, none remembered")
      << QStringList{"Enkel"} << "" << QStringList{"Enkel"} << ""
      << "2";
  QTest::newRow("a prefix in any case") << three << "enk" << three << "Enkel"
                                        << "3";
  QTest::newRow("the search starts at the second")
      << QStringList{"Enkel", "Enkel2"} << "Enkel" << QStringList{"Enkel", "Enkel2"} << "Enkel2"
      << "3";
  QTest::newRow("and wraps to the first") << three << "blå" << three << "Blå"
                                          << "3";
  QTest::newRow("a name no longer there") << three << "Grå" << three << ""
                                          << "2";
}

void tst_SettingsDialog::preselection() {
  QFETCH(QStringList, templates);
  QFETCH(QString, remembered);
  for (const QString& name : templates) {
    AddTemplate(name.toStdString());
  }
  if (!remembered.isEmpty()) {
    WriteSetting("LastTemplate", remembered.toStdString());
  }
  Run([&](QDialog& dialog) {
    auto* list = Find<QComboBox>(dialog, "templateList");
    QTEST(Items(*list), "listed");
    QTEST(list->currentText(), "selected");
    QTEST(Find<QLineEdit>(dialog, "thumbnailsField")->text(), "field");
    QCOMPARE(dialog.focusWidget(), list);
  });
}

void tst_SettingsDialog::thumbnailsField_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("accepted");  // -1: refused
  QTest::newRow("4") << "4" << 4;
  QTest::newRow("blank first") << " 7" << 7;
  QTest::newRow("trailing letter") << "3x" << 3;
  QTest::newRow("plus sign") << "+2" << 2;
  QTest::newRow("0: the template's own") << "0" << 0;
  QTest::newRow("ten digits: nine read") << "1234567890" << 123456789;
  QTest::newRow("negative") << "-1" << -1;
  QTest::newRow("letter") << "a" << -1;
  QTest::newRow("empty") << "" << -1;
  QTest::newRow("blanks") << "   " << -1;
}

void tst_SettingsDialog::thumbnailsField() {
  QFETCH(QString, text);
  QFETCH(int, accepted);
  AddTemplate("Blå");
  AddTemplate("Enkel");
  const QDialog* shown = nullptr;
  const Outcome outcome = Run([&](QDialog& dialog) {
    shown = &dialog;
    auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Return);  // Enter presses OK
  });
  if (accepted >= 0) {
    QCOMPARE(outcome.Result, 1);
    QCOMPARE(run_.Settings.ThumbnailsPerRow, accepted);
    QVERIFY(windows_->messages_.empty());
  } else {
    QVERIFY(outcome.StayedOpen);
    QCOMPARE(windows_->messages_,
             std::vector<std::string>{"Error: Otillåtet värde för antal miniatyrer"});
    QCOMPARE(windows_->owners_.front(), static_cast<MessageOwner>(shown));
    QCOMPARE(run_.Settings.ThumbnailsPerRow, 0);
  }
  QCOMPARE(run_.Owner, nullptr);  // never left pointing at the closed dialog
}

void tst_SettingsDialog::refusedThenAccepted() {
  AddTemplate("Blå");
  AddTemplate("Enkel");
  const Outcome outcome = Run([&](QDialog& dialog) {
    QVERIFY(Find<QRadioButton>(dialog, "recordWhenMissingButton")->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, "includeSubfoldersBox")->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, "openBrowserBox")->isChecked());
    auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
    auto* ok = Find<QPushButton>(dialog, "okButton");
    field->setText("x");
    ok->click();
    QCOMPARE(windows_->messages_.size(), std::size_t{1});
    QCOMPARE(ReadSetting("LastTemplate"), "Enkel");
    QCOMPARE(run_.Templates.IndexTemplate, IndexWithCells(3));

    WriteSetting("LastTemplate", "Blå");
    AddTemplate("Enkel", IndexWithCells(4));  // loaded anew at the next press
    QTest::mouseClick(Find<QRadioButton>(dialog, "recordNeverButton"), Qt::LeftButton,
                      Qt::NoModifier, QPoint(4, 4));
    QTest::mouseClick(Find<QCheckBox>(dialog, "openBrowserBox"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(4, 4));
    field->setText("0");
    ok->click();
  });
  QCOMPARE(outcome.Result, 1);
  QCOMPARE(windows_->messages_.size(), std::size_t{1});
  QCOMPARE(ReadSetting("LastTemplate"), "Enkel");
  QCOMPARE(run_.Templates.IndexTemplate, IndexWithCells(4));
  QCOMPARE(run_.Templates.PictureTemplate, "<html>Enkel</html>");
  QCOMPARE(run_.Settings.ThumbnailsPerRow, 0);
  QCOMPARE(run_.Settings.Recording, RecordNever);
  QCOMPARE(run_.Settings.OpenBrowserWhenDone, false);
  QCOMPARE(run_.Settings.IncludeSubfolders, true);
}

void tst_SettingsDialog::refusedTemplate_data() {
  QTest::addColumn<QStringList>("templates");
  QTest::addColumn<QString>("unusable");
  QTest::addColumn<QString>("message");  // %1: the templates folder
  QTest::addColumn<QString>("remembered");
  QTest::newRow("index without row and cell")
      << QStringList{"Blå"} << "Trasig"
      << "Error: Indexmallen saknar en tabellrad \"<tr>\" med en cell \"</td>\": "
         "\"%1Trasig_index.html\""
      << "Trasig";
  QTest::newRow("no template selected") << QStringList{"Enkel"} << ""
                                        << "Error: Välj en mall i listan"
                                        << "";
}

void tst_SettingsDialog::refusedTemplate() {
  QFETCH(QStringList, templates);
  QFETCH(QString, unusable);
  QFETCH(QString, message);
  for (const QString& name : templates) {
    AddTemplate(name.toStdString());
  }
  if (!unusable.isEmpty()) {
    AddTemplate(unusable.toStdString(), "<html><body>no table</body></html>");
  }
  const Outcome outcome =
      Run([](QDialog& dialog) { Find<QPushButton>(dialog, "okButton")->click(); });
  QVERIFY(outcome.StayedOpen);
  QCOMPARE(windows_->messages_,
           std::vector<std::string>{
               QString(message)
                   .replace("%1", QString::fromStdString(run_.Paths.TemplatesFolder))
                   .toStdString()});
  QTEST(QString::fromStdString(ReadSetting("LastTemplate")), "remembered");
  QCOMPARE(run_.Settings.ThumbnailsPerRow, 0);
}

void tst_SettingsDialog::cancelWritesNothing_data() {
  QTest::addColumn<int>("how");
  QTest::newRow("Avbryt") << 0;
  QTest::newRow("Escape") << 1;
  QTest::newRow("close box") << 2;
}

void tst_SettingsDialog::cancelWritesNothing() {
  QFETCH(int, how);
  AddTemplate("Blå");
  AddTemplate("Enkel");
  const Outcome outcome = Run([how](QDialog& dialog) {
    Find<QComboBox>(dialog, "templateList")->setCurrentIndex(0);
    Find<QLineEdit>(dialog, "thumbnailsField")->setText("7");
    Find<QRadioButton>(dialog, "recordAlwaysButton")->setChecked(true);
    if (how == 0) {
      Find<QPushButton>(dialog, "cancelButton")->click();
    } else if (how == 1) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      dialog.close();
    }
  });
  QCOMPARE(outcome.Result, 0);
  QVERIFY(!outcome.StayedOpen);
  QCOMPARE(ReadSetting("LastTemplate"), "");
  QVERIFY(run_.Templates.IndexTemplate.empty());
  QCOMPARE(run_.Settings.Recording, RecordWhenMissing);
  QCOMPARE(run_.Settings.ThumbnailsPerRow, 0);
}

void tst_SettingsDialog::selectionOverwritesFieldAndDialogIsCentred() {
  AddTemplate("Blå", IndexWithCells(1));
  AddTemplate("Enkel", IndexWithCells(5));
  Run([](QDialog& dialog) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize frame = dialog.frameGeometry().size();
    const WindowPosition place =
        CenteredPosition(screen.width(), screen.height(), frame.width(), frame.height());
    QCOMPARE(dialog.pos(), QPoint(place.x, place.y));
    auto* field = Find<QLineEdit>(dialog, "thumbnailsField");
    QCOMPARE(field->text(), "5");
    field->setText("9");
    QTest::keyClick(Find<QComboBox>(dialog, "templateList"), Qt::Key_Up);
    QCOMPARE(field->text(), "2");  // one cell proposes 2
  });
}

void tst_SettingsDialog::helpAndAbout() {
  AddTemplate("Enkel");
  const std::string page = "file://" + *dir_ / "dok/korvalo.html";
  const Outcome outcome = Run([&](QDialog& settings) {
    Find<QPushButton>(settings, "helpButton")->click();
    QTRY_COMPARE(BrowserLog(), page + "#usage\n");
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(about != nullptr && about != &settings);
      QCOMPARE(about->parentWidget(), &settings);
      QCOMPARE(about->windowTitle(), "Om Korvalo");
      const QString text = Find<QLabel>(*about, "aboutText")->text();
      const QStringList lines = text.split('\n');
      QCOMPARE(lines.size(), 11);
      QCOMPARE(lines.mid(0, 4),
               (QStringList{"Korvalo", "", "Version: 1.1", "Datum: " KORVALO_BUILD_DATE}));
      QVERIFY(QRegularExpression("^[A-Z][a-z]{2} [1-9][0-9]? [0-9]{4}$")
                  .match(KORVALO_BUILD_DATE)
                  .hasMatch());
      QVERIFY(lines[8].startsWith(' '));
      QCOMPARE(lines[10],
               "Välj \"Hjälp\" för information om hur detta program kan användas och distribueras");
      Find<QPushButton>(*about, "helpButton")->click();
      QTRY_COMPARE(BrowserLog(), page + "#usage\n" + page + "#legal\n");
      QVERIFY(about->isVisible());
      QTest::keyClick(about, Qt::Key_Return);
    });
    Find<QPushButton>(settings, "aboutButton")->click();  // returns when About has closed
  });
  QVERIFY(outcome.StayedOpen);
  QVERIFY(windows_->messages_.empty());
}

void tst_SettingsDialog::centeredPosition_data() {
  QTest::addColumn<QSize>("window");
  QTest::addColumn<QPoint>("place");
  QTest::newRow("400 x 300") << QSize(400, 300) << QPoint(312, 156);
  QTest::newRow("5 wider: toward zero") << QSize(1029, 300) << QPoint(-2, 156);
  QTest::newRow("as large") << QSize(1024, 768) << QPoint(0, 0);
}

void tst_SettingsDialog::centeredPosition() {
  QFETCH(QSize, window);
  const WindowPosition place = CenteredPosition(1024, 768, window.width(), window.height());
  QTEST(QPoint(place.x, place.y), "place");
}

QTEST_MAIN(tst_SettingsDialog)
#include "tst_settingsdialog.moc"
