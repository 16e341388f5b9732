#include "tools/sndrec32/recorder_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

QString FormatDuration(double seconds) {
  const int whole = seconds > 0 ? static_cast<int>(seconds) : 0;
  return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

RecorderWindow::RecorderWindow(Recorder& recorder, QWidget* parent)
    : QDialog(parent), recorder_(recorder) {
  const QString path = QFile::decodeName(recorder_.TargetPath().c_str());
  setWindowTitle(QStringLiteral("Spela in ljud – %1").arg(QFileInfo(path).fileName()));

  auto* file = new QLabel(QStringLiteral("Ljudfil: %1").arg(path), this);
  file->setObjectName("fileLabel");
  file->setWordWrap(true);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);

  status_ = new QLabel(this);
  status_->setObjectName("statusLabel");
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 2);

  meter_ = new QWidget(this);
  time_ = new QLabel(meter_);
  time_->setObjectName("timeLabel");
  level_ = new QProgressBar(meter_);
  level_->setObjectName("levelBar");
  level_->setRange(0, 100);
  level_->setTextVisible(false);
  auto* meterRow = new QHBoxLayout(meter_);
  meterRow->setContentsMargins(0, 0, 0, 0);
  meterRow->addWidget(time_);
  meterRow->addWidget(level_, 1);

  auto* buttons = new QHBoxLayout;
  record_ = AddButton("Spela in", "recordButton");
  stop_ = AddButton("Stoppa", "stopButton");
  play_ = AddButton("Spela upp", "playButton");
  save_ = AddButton("Spara", "saveButton");
  cancel_ = AddButton("Avbryt", "cancelButton");
  for (QPushButton* button : {record_, stop_, play_, save_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(status_);
  layout->addWidget(meter_);
  layout->addLayout(buttons);

  connect(record_, &QPushButton::clicked, this, [this] { recorder_.Record(); });
  connect(stop_, &QPushButton::clicked, this, [this] { recorder_.Stop(); });
  connect(play_, &QPushButton::clicked, this, [this] { recorder_.Play(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveAndClose(); });
  connect(cancel_, &QPushButton::clicked, this, &RecorderWindow::reject);

  recorder_.SetOnChange([this] { Refresh(); });
  Refresh();
  setMinimumWidth(460);
}

RecorderWindow::~RecorderWindow() {
  recorder_.SetOnChange(nullptr);
}

int RecorderWindow::ExitCode() const {
  return result() == QDialog::Accepted ? kExitSaved : kExitNotSaved;
}

void RecorderWindow::reject() {
  recorder_.Cancel();
  QDialog::reject();
}

QPushButton* RecorderWindow::AddButton(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setObjectName(name);
  // Enter must not press a button by surprise, least of all Avbryt.
  button->setAutoDefault(false);
  return button;
}

void RecorderWindow::Refresh() {
  const RecorderButtons allowed = recorder_.Buttons();
  record_->setEnabled(allowed.Record);
  stop_->setEnabled(allowed.Stop);
  play_->setEnabled(allowed.Play);
  save_->setEnabled(allowed.Save);
  cancel_->setEnabled(allowed.Cancel);
  const bool noDevice = recorder_.State() == RecorderState::NoDevice;
  status_->setText(QString::fromStdString(recorder_.Message()));
  QFont font = status_->font();
  font.setBold(noDevice);  // the one thing to read when nothing else can be done
  status_->setFont(font);
  meter_->setVisible(!noDevice);
  time_->setText(FormatDuration(recorder_.Seconds()));
  level_->setValue(static_cast<int>(recorder_.Level() * 100.0 + 0.5));
}

void RecorderWindow::SaveAndClose() {
  if (recorder_.Save()) {
    accept();
  }
}
