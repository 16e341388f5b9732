#include "ui/qt/settings_dialog.h"

#include <QDialog>
#include <string>
#include <vector>

#include "external/browser_launcher.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/translation.h"
#include "ui/qt/window_placement.h"
#include "ui/settings_rules.h"
#include "ui_settings.h"

namespace {

class SettingsForm : public QDialog {
 public:
  SettingsForm(RunState& run, QWidget* owner);

  /// The OK button and the Enter key: ends the dialog only when all is accepted.
  void accept() override;

 private:
  void FillTemplateList();
  void ShowSettings();
  void UpdateThumbnailsField();
  SettingsControls Controls() const;

  RunState& run_;
  Ui::SettingsForm ui_;
  std::vector<std::string> names_;  ///< The listed names as bytes, in list order.
};

SettingsForm::SettingsForm(RunState& run, QWidget* owner) : QDialog(owner), run_(run) {
  ui_.setupUi(this);
  TranslateForm(this);
  setWindowIcon(ProgramIcon());
  ApplyDialogUnits(*this);
  CenterWindow(*this);
  SetUpForKeyboard(*this);
  run_.Owner = this;
  FillTemplateList();
  ShowSettings();
  ui_.templateList->setFocus();
  // Connected only now, so that only the user's choices overwrite the field.
  connect(ui_.templateList, &QComboBox::currentIndexChanged, this,
          [this] { UpdateThumbnailsField(); });
  connect(ui_.okButton, &QPushButton::clicked, this, &SettingsForm::accept);
  connect(ui_.cancelButton, &QPushButton::clicked, this, &SettingsForm::reject);
  connect(ui_.helpButton, &QPushButton::clicked, this,
          [this] { OpenInBrowser(run_.Paths.HelpFile + "#usage", true); });
  connect(ui_.aboutButton, &QPushButton::clicked, this, [this] { AboutDialog(run_, this); });
}

void SettingsForm::FillTemplateList() {
  const TemplateList list = OpenTemplateList(run_);
  names_ = list.Names;
  for (const std::string& name : names_) {
    ui_.templateList->addItem(QString::fromStdString(name));
  }
  ui_.templateList->setCurrentIndex(list.Selected);
  UpdateThumbnailsField();
}

void SettingsForm::ShowSettings() {
  const RunSettings& settings = run_.Settings;
  ui_.recordWhenMissingButton->setChecked(settings.Recording == RecordWhenMissing);
  ui_.recordAlwaysButton->setChecked(settings.Recording == RecordAlways);
  ui_.recordNeverButton->setChecked(settings.Recording == RecordNever);
  ui_.openBrowserBox->setChecked(settings.OpenBrowserWhenDone);
  ui_.includeSubfoldersBox->setChecked(settings.IncludeSubfolders);
}

void SettingsForm::UpdateThumbnailsField() {
  ui_.thumbnailsField->setText(QString::fromStdString(
      ProposedThumbnailsText(run_, names_, ui_.templateList->currentIndex())));
}

SettingsControls SettingsForm::Controls() const {
  SettingsControls controls;
  controls.TemplateRow = ui_.templateList->currentIndex();
  controls.ThumbnailsText = ui_.thumbnailsField->text().toStdString();
  // The three buttons are exclusive and one is always checked.
  controls.Recording = ui_.recordAlwaysButton->isChecked()  ? RecordAlways
                       : ui_.recordNeverButton->isChecked() ? RecordNever
                                                            : RecordWhenMissing;
  controls.OpenBrowserWhenDone = ui_.openBrowserBox->isChecked();
  controls.IncludeSubfolders = ui_.includeSubfoldersBox->isChecked();
  return controls;
}

void SettingsForm::accept() {
  switch (PressOk(run_, names_, Controls())) {
    case OkAnswer::Close:
      QDialog::accept();
      break;
    case OkAnswer::ChooseTemplate:
      ui_.templateList->setFocus();
      break;
    case OkAnswer::Stay:
      break;
  }
}

}  // namespace

int SettingsDialog(RunState& run, QWidget* owner) {
  int result = 0;
  {
    SettingsForm form(run, owner);
    result = form.exec() == QDialog::Accepted ? 1 : 0;
  }
  // The form is gone: messages go to its owner again, never to a dead window.
  run.Owner = owner;
  return result;
}
