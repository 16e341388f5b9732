#include "ui/qt/settings_dialog.h"

#include <QDialog>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "album/html_template.h"
#include "album/template_catalog.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "external/browser_launcher.h"
#include "resources/string_table.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/window_placement.h"
#include "ui_settings.h"

namespace {

// The field is read as "%d" reads it, from its first 9 characters only; a
// value is accepted when it is a number of 0 or more.
std::optional<int> ReadThumbnailsField(const QString& text) {
  const std::string first = text.left(9).toStdString();
  int value = 0;
  if (std::sscanf(first.c_str(), "%d", &value) != 1 || value < 0) {
    return std::nullopt;
  }
  return value;
}

class SettingsForm : public QDialog {
 public:
  SettingsForm(RunState& run, QWidget* owner);

  /// The OK button and the Enter key: ends the dialog only when all is accepted.
  void accept() override;

 private:
  void FillTemplateList();
  void ShowSettings();
  void UpdateThumbnailsField();
  std::string SelectedTemplate() const;
  void StoreSettings(int thumbnailsPerRow);

  RunState& run_;
  Ui::SettingsForm ui_;
  std::vector<std::string> names_;  ///< The listed names as bytes, in list order.
};

SettingsForm::SettingsForm(RunState& run, QWidget* owner) : QDialog(owner), run_(run) {
  ui_.setupUi(this);
  setWindowIcon(ProgramIcon());
  ApplyDialogUnits(*this);
  CenterWindow(*this);
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
  names_ = ListTemplates(run_.Paths.TemplatesFolder);
  if (names_.empty()) {
    ShowError(run_, LoadText(kTextNoTemplates), run_.Paths.TemplatesFolder, true);
  }
  for (const std::string& name : names_) {
    ui_.templateList->addItem(QString::fromStdString(name));
  }
  const std::optional<std::size_t> chosen =
      PreselectedTemplate(names_, ReadSetting("LastTemplate"));
  ui_.templateList->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
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

std::string SettingsForm::SelectedTemplate() const {
  const int index = ui_.templateList->currentIndex();
  return index >= 0 ? names_[static_cast<std::size_t>(index)] : std::string();
}

void SettingsForm::UpdateThumbnailsField() {
  ui_.thumbnailsField->setText(
      QString::number(ProposedThumbnailsPerRow(run_.Paths.TemplatesFolder, SelectedTemplate())));
}

void SettingsForm::accept() {
  if (ui_.templateList->currentIndex() < 0) {
    // Nothing to load: say so instead of failing on a file named "_index.html".
    ShowError(run_, LoadText(kTextChooseTemplate), "", false);
    ui_.templateList->setFocus();
    return;
  }
  const std::string name = SelectedTemplate();
  // Remembered before anything else, whatever follows.
  WriteSetting("LastTemplate", name);
  run_.Templates = LoadTemplatePair(run_, name);
  const std::optional<int> thumbnailsPerRow = ReadThumbnailsField(ui_.thumbnailsField->text());
  if (!thumbnailsPerRow) {
    ShowError(run_, LoadText(kTextInvalidThumbnails), "", false);
    return;
  }
  if (!IndexTemplateIsUsable(run_.Templates.IndexTemplate)) {
    ShowError(run_, LoadText(kTextUnusableIndexTemplate),
              TemplateIndexPath(run_.Paths.TemplatesFolder, name), false);
    return;
  }
  StoreSettings(*thumbnailsPerRow);
  QDialog::accept();
}

void SettingsForm::StoreSettings(int thumbnailsPerRow) {
  RunSettings& settings = run_.Settings;
  settings.ThumbnailsPerRow = thumbnailsPerRow;
  if (ui_.recordWhenMissingButton->isChecked()) {
    settings.Recording = RecordWhenMissing;
  } else if (ui_.recordAlwaysButton->isChecked()) {
    settings.Recording = RecordAlways;
  } else if (ui_.recordNeverButton->isChecked()) {
    settings.Recording = RecordNever;
  }
  settings.OpenBrowserWhenDone = ui_.openBrowserBox->isChecked();
  settings.IncludeSubfolders = ui_.includeSubfoldersBox->isChecked();
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
