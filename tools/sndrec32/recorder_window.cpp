#include "tools/sndrec32/recorder_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// done() code of Hoppa över; Accepted and Rejected are 1 and 0.
constexpr int kSkipped = 2;

constexpr int kPlaybackMeterMs = 50;

// What the window tells the user, for a trace: QT_LOGGING_RULES="sndrec32.status.info=true".
Q_LOGGING_CATEGORY(lcStatus, "sndrec32.status", QtWarningMsg)

}  // namespace

QString FormatDuration(double seconds) {
  const int whole = seconds > 0 ? static_cast<int>(seconds) : 0;
  return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

RecorderWindow::RecorderWindow(Recorder& recorder, QWidget* parent)
    : QDialog(parent), recorder_(recorder), shownState_(recorder.State()) {
  const QString path = QFile::decodeName(recorder_.TargetPath().c_str());
  setWindowTitle(QStringLiteral("Spela in ljud – %1").arg(QFileInfo(path).fileName()));

  auto* file = new QLabel(QStringLiteral("Ljudfil: %1").arg(path), this);
  file->setObjectName("fileLabel");
  file->setWordWrap(true);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);

  microphoneRow_ = new QWidget(this);
  microphone_ = new QComboBox(microphoneRow_);
  microphone_->setObjectName("microphoneList");
  auto* microphoneLabel = new QLabel(QStringLiteral("&Mikrofon:"), microphoneRow_);
  microphoneLabel->setBuddy(microphone_);
  auto* microphoneLayout = new QHBoxLayout(microphoneRow_);
  microphoneLayout->setContentsMargins(0, 0, 0, 0);
  microphoneLayout->addWidget(microphoneLabel);
  microphoneLayout->addWidget(microphone_, 1);
  microphoneRow_->hide();  // until there is something to choose from

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
  playbackMeter_.setInterval(kPlaybackMeterMs);
  connect(&playbackMeter_, &QTimer::timeout, this, [this] { ShowLevel(); });

  auto* buttons = new QHBoxLayout;
  record_ = AddButton("Spela &in", "recordButton");
  stop_ = AddButton("&Stoppa", "stopButton");
  play_ = AddButton("Spela &upp", "playButton");
  save_ = AddButton("Sp&ara", "saveButton");
  skip_ = AddButton("&Hoppa över", "skipButton");
  cancel_ = AddButton("Avbryt", "cancelButton");
  for (QPushButton* button : {record_, stop_, play_, save_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(skip_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(microphoneRow_);
  layout->addWidget(status_);
  layout->addWidget(meter_);
  layout->addLayout(buttons);

  connect(record_, &QPushButton::clicked, this, [this] { recorder_.Record(); });
  connect(stop_, &QPushButton::clicked, this, [this] { recorder_.Stop(); });
  connect(play_, &QPushButton::clicked, this, [this] { recorder_.Play(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveAndClose(); });
  connect(skip_, &QPushButton::clicked, this, [this] { Skip(); });
  connect(cancel_, &QPushButton::clicked, this, &RecorderWindow::reject);
  connect(microphone_, &QComboBox::activated, this, [this](int index) {
    if (onMicrophoneChosen_) {
      onMicrophoneChosen_(index);
    }
  });

  recorder_.SetOnChange([this] { Refresh(); });
  Refresh();
  FocusNextStep();
  setMinimumWidth(560);
}

RecorderWindow::~RecorderWindow() {
  recorder_.SetOnChange(nullptr);
}

int RecorderWindow::ExitCode() const {
  return result() == QDialog::Accepted || result() == kSkipped ? kExitSaved : kExitNotSaved;
}

void RecorderWindow::SetMicrophones(const QStringList& names, int chosen,
                                    std::function<void(int)> onChosen) {
  onMicrophoneChosen_ = std::move(onChosen);
  microphone_->clear();
  microphone_->addItems(names);
  microphone_->setCurrentIndex(chosen);
  microphoneRow_->setVisible(!names.isEmpty());
}

void RecorderWindow::reject() {
  recorder_.Cancel();
  QDialog::reject();
}

void RecorderWindow::keyPressEvent(QKeyEvent* event) {
  // Enter presses the button that has the focus, as Space does; with no
  // button focused it presses nothing, so no take is lost by surprise.
  auto* button = qobject_cast<QPushButton*>(focusWidget());
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && button &&
      event->modifiers() == Qt::NoModifier) {
    button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

QPushButton* RecorderWindow::AddButton(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setObjectName(name);
  // Not default buttons: Enter in the microphone list must press nothing.
  button->setAutoDefault(false);
  return button;
}

void RecorderWindow::Refresh() {
  const RecorderButtons allowed = recorder_.Buttons();
  record_->setEnabled(allowed.Record);
  stop_->setEnabled(allowed.Stop);
  play_->setEnabled(allowed.Play);
  save_->setEnabled(allowed.Save);
  skip_->setEnabled(allowed.Cancel);
  cancel_->setEnabled(allowed.Cancel);
  const RecorderState state = recorder_.State();
  microphone_->setEnabled(state != RecorderState::Recording && state != RecorderState::Playing);
  const bool noDevice = state == RecorderState::NoDevice;
  const QString message = QString::fromStdString(recorder_.Message());
  if (message != status_->text()) {
    qCInfo(lcStatus).noquote() << message;
    status_->setText(message);
  }
  QFont font = status_->font();
  font.setBold(noDevice);  // the one thing to read when nothing else can be done
  status_->setFont(font);
  meter_->setVisible(!noDevice);
  time_->setText(FormatDuration(recorder_.Seconds()));
  ShowLevel();
  if (state == RecorderState::Playing) {
    playbackMeter_.start();
  } else {
    playbackMeter_.stop();
  }
  if (state != shownState_) {
    shownState_ = state;
    FocusNextStep();
  }
}

void RecorderWindow::ShowLevel() {
  level_->setValue(static_cast<int>(recorder_.Level() * 100.0 + 0.5));
}

// Puts the focus on the likely next button, so Space or Enter goes on from
// there and a button that just got disabled does not leave it nowhere.
void RecorderWindow::FocusNextStep() {
  for (QPushButton* button : {stop_, play_, save_, record_, cancel_}) {
    if (button->isEnabled()) {
      button->setFocus();
      return;
    }
  }
}

void RecorderWindow::SaveAndClose() {
  if (recorder_.Save()) {
    accept();
  }
}

void RecorderWindow::Skip() {
  recorder_.Cancel();
  done(kSkipped);
}
