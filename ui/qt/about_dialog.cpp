#include "ui/qt/about_dialog.h"

#include <QDialog>
#include <algorithm>

#include "external/browser_launcher.h"
#include "korvalo_build_date.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/window_placement.h"
#include "ui_about.h"

namespace {

// Fills the text's "%s" placeholders in order, as sprintf would with these two.
QString FormatAboutText(QString text, const QStringList& values) {
  qsizetype at = 0;
  for (const QString& value : values) {
    at = text.indexOf(QStringLiteral("%s"), at);
    if (at < 0) {
      break;
    }
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

class AboutForm : public QDialog {
 public:
  AboutForm(const RunState& run, QWidget* owner) : QDialog(owner) {
    ui_.setupUi(this);
    setWindowIcon(ProgramIcon());
    ui_.aboutText->setText(
        FormatAboutText(ui_.aboutText->text(),
                        {QStringLiteral(KORVALO_VERSION), QStringLiteral(KORVALO_BUILD_DATE)}));
    ApplyDialogUnits(*this);
    const int side = std::min(ui_.programIcon->width(), ui_.programIcon->height());
    ui_.programIcon->setPixmap(ProgramIcon().pixmap(QSize(side, side), devicePixelRatio()));
    CenterWindow(*this);
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
