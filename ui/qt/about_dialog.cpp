#include "ui/qt/about_dialog.h"

#include <QDialog>
#include <algorithm>

#include "external/browser_launcher.h"
#include "korvalo_build_date.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/translation.h"
#include "ui/qt/window_placement.h"
#include "ui/window_rules.h"
#include "ui_about.h"

namespace {

class AboutForm : public QDialog {
 public:
  AboutForm(const RunState& run, QWidget* owner) : QDialog(owner) {
    ui_.setupUi(this);
    TranslateForm(this);
    setWindowIcon(ProgramIcon());
    ui_.aboutText->setText(QString::fromStdString(
        FillAboutText(ui_.aboutText->text().toStdString(), {KORVALO_VERSION, KORVALO_BUILD_DATE})));
    ApplyDialogUnits(*this);
    const int side = std::min(ui_.programIcon->width(), ui_.programIcon->height());
    ui_.programIcon->setPixmap(ProgramIcon().pixmap(QSize(side, side), devicePixelRatio()));
    CenterWindow(*this);
    SetUpForKeyboard(*this);
    ui_.okButton->setFocus();
    connect(ui_.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_.helpButton, &QPushButton::clicked, this,
            [&run] { OpenInBrowser(run.Paths.HelpFile + "#legal", true); });
  }

 private:
  Ui::AboutForm ui_;
};

}  // namespace

void AboutDialog(const RunState& run, QWidget* owner) {
  AboutForm form(run, owner);
  form.exec();
}
