#include "tools/sndrec32/qt/recorder_window.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <memory>

#include "resources/string_table.h"
#include "tools/sndrec32/qt/picture_image.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/translation.h"
#include "ui/qt/window_placement.h"

namespace {

// done() code of Hoppa över; Accepted and Rejected are 1 and 0.
constexpr int kSkipped = 2;

// What the window tells the user, for a trace: QT_LOGGING_RULES="sndrec32.status.info=true".
Q_LOGGING_CATEGORY(lcStatus, "sndrec32.status", QtWarningMsg)

}  // namespace

RecorderWindow::RecorderWindow(Recorder& recorder, QWidget* parent)
    : QDialog(parent), recorder_(recorder), shownState_(recorder.State()) {
  const std::string& path = recorder_.TargetPath();
  setWindowTitle(QFile::decodeName(RecorderTitle(path).c_str()));

  // Names are shown as they are, never read as markup.
  auto* file = new QLabel(QFile::decodeName(RecorderFileLine(path).c_str()), this);
  file->setObjectName("fileLabel");
  file->setTextFormat(Qt::PlainText);
  file->setWordWrap(true);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);

  picture_ = new QLabel(this);
  picture_->setObjectName("picture");
  picture_->setAlignment(Qt::AlignCenter);
  pictureName_ = new QLabel(this);
  pictureName_->setObjectName("pictureName");
  pictureName_->setTextFormat(Qt::PlainText);
  pictureName_->setAlignment(Qt::AlignCenter);
  picture_->hide();
  pictureName_->hide();

  microphoneRow_ = new QWidget(this);
  microphone_ = new ChoiceList(microphoneRow_);
  microphone_->setObjectName("microphoneList");
  auto* microphoneLabel = new QLabel(Translated(kTextMicrophoneLabel), microphoneRow_);
  microphoneLabel->setBuddy(microphone_);
  auto* microphoneLayout = new QHBoxLayout(microphoneRow_);
  microphoneLayout->setContentsMargins(0, 0, 0, 0);
  microphoneLayout->addWidget(microphoneLabel);
  microphoneLayout->addWidget(microphone_, 1);
  microphoneRow_->hide();  // until there is something to choose from

  // What is going on, spoken by screen readers as it changes.
  status_ = new Announcer(this);
  status_->setObjectName("statusLabel");
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 2);

  meter_ = new QWidget(this);
  time_ = new QLabel(meter_);
  time_->setObjectName("timeLabel");
  time_->setAccessibleDescription(Translated(kTextTimeName));
  level_ = new QProgressBar(meter_);
  level_->setObjectName("levelBar");
  level_->setAccessibleName(Translated(kTextLevelName));
  level_->setRange(0, 100);
  level_->setTextVisible(false);
  auto* meterRow = new QHBoxLayout(meter_);
  meterRow->setContentsMargins(0, 0, 0, 0);
  meterRow->addWidget(time_);
  meterRow->addWidget(level_, 1);
  playbackMeter_.setInterval(kPlaybackMeterMs);
  connect(&playbackMeter_, &QTimer::timeout, this, [this] { ShowLevel(); });

  auto* buttons = new QHBoxLayout;
  record_ = AddButton(kTextRecordButton, "recordButton");
  stop_ = AddButton(kTextStopButton, "stopButton");
  play_ = AddButton(kTextPlayButton, "playButton");
  save_ = AddButton(kTextSaveButton, "saveButton");
  skip_ = AddButton(kTextSkipButton, "skipButton");
  cancel_ = AddButton(kTextCancelButton, "cancelButton");
  for (QPushButton* button : {record_, stop_, play_, save_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(skip_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(picture_, 0, Qt::AlignHCenter);
  layout->addWidget(pictureName_);
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
  SetUpForKeyboard(*this);
  // Narrower where the screen is, at a large scale; a smaller font where even
  // that does not fit (a very large font on a small screen). The picture
  // takes what room is left.
  setMinimumWidth(std::min(560, RoomOnScreen(*this).width()));
  ShrinkFontToFit(*this, [this] { return minimumSizeHint(); });
  StartPicture();
}

RecorderWindow::~RecorderWindow() {
  recorder_.SetOnChange(nullptr);
}

int RecorderWindow::ExitCode() const {
  return ExitCodeOf(result() == QDialog::Accepted ? RecorderEnd::Saved
                    : result() == kSkipped        ? RecorderEnd::Skipped
                                                  : RecorderEnd::Closed);
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

QPushButton* RecorderWindow::AddButton(int text, const char* name) {
  auto* button = new QPushButton(Translated(text), this);
  button->setObjectName(name);
  // Not default buttons: Enter in the microphone list must press nothing.
  button->setAutoDefault(false);
  return button;
}

void RecorderWindow::Refresh() {
  const RecorderLook look = LookOf(recorder_);
  // What becomes possible first, then the focus, then what no longer is: a
  // focused button that is disabled hands the focus on, and screen readers
  // would speak every button it passes.
  const auto enable = [&](bool on) {
    for (const RecorderButton button :
         {RecorderButton::Record, RecorderButton::Stop, RecorderButton::Play, RecorderButton::Save,
          RecorderButton::Skip, RecorderButton::Cancel}) {
      if (Allowed(look.Buttons, button) == on) {
        ButtonOf(button)->setEnabled(on);
      }
    }
    if (look.MicrophoneEnabled == on) {
      microphone_->setEnabled(on);
    }
  };
  enable(true);
  const RecorderState state = recorder_.State();
  if (state != shownState_) {
    shownState_ = state;
    FocusNextStep();
  }
  enable(false);
  // Last, so that it is spoken after the newly focused button.
  const QString message = QString::fromStdString(recorder_.Message());
  if (message != status_->text()) {
    qCInfo(lcStatus).noquote() << message;
    status_->Say(message);
  }
  QFont font = status_->font();
  font.setBold(look.StatusBold);
  status_->setFont(font);
  meter_->setVisible(look.MeterShown);
  time_->setText(QString::fromStdString(look.Time));
  level_->setValue(look.LevelPercent);
  if (state == RecorderState::Playing) {
    playbackMeter_.start();
  } else {
    playbackMeter_.stop();
  }
}

void RecorderWindow::ShowLevel() {
  level_->setValue(LookOf(recorder_).LevelPercent);
}

// The picture's room is known from its header at once, so the window is
// placed with it; the picture itself is decoded on another thread.
void RecorderWindow::StartPicture() {
  std::optional<CommentPicture> found = FindPicture(recorder_.TargetPath());
  const QSize box = PictureBox();
  if (!found || box.isEmpty()) {
    return;
  }
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = FittedSize(*found, box * ratio);
  picture_->setFixedSize((pixels / ratio).expandedTo(QSize(1, 1)));
  pictureName_->setText(QFile::decodeName(found->Name.c_str()));
  picture_->setAccessibleName(QFile::decodeName(PictureAccessibleName(found->Name).c_str()));
  picture_->show();
  pictureName_->show();
  connect(&decoded_, &QFutureWatcher<QImage>::finished, this, &RecorderWindow::ShowDecodedPicture);
  // Shared: the decoding may outlast the window; the file closes after it.
  auto picture = std::make_shared<CommentPicture>(std::move(*found));
  decoded_.setFuture(
      QtConcurrent::run([picture, pixels] { return DecodePicture(*picture, pixels); }));
}

// About 480 by 360, less where the screen has no room for it beside the rest
// of the window: a 1024 by 768 screen at 144 dpi is 512 logical pixels high.
QSize RecorderWindow::PictureBox() const {
  const QRect screen = this->screen()->availableGeometry();
  const int frame = 2 * fontMetrics().height();  // a title bar and borders
  const int spacing = layout()->spacing();
  // The microphone list shows once the microphones are known, after this.
  const int microphones = microphoneRow_->sizeHint().height() + spacing;
  const int rest =
      sizeHint().height() + microphones + pictureName_->sizeHint().height() + 2 * spacing + frame;
  const PictureSize fitting = PictureBoxOn({screen.width(), screen.height()}, {frame, rest});
  return QSize(fitting.Width, fitting.Height);
}

void RecorderWindow::ShowDecodedPicture() {
  QImage image = decoded_.result();
  if (image.isNull()) {
    picture_->hide();
    pictureName_->hide();
    adjustSize();
    return;
  }
  image.setDevicePixelRatio(devicePixelRatioF());
  picture_->setPixmap(QPixmap::fromImage(std::move(image)));
}

// Puts the focus on the likely next button, so Space or Enter goes on from
// there and a button that just got disabled does not leave it nowhere.
void RecorderWindow::FocusNextStep() {
  ButtonOf(NextStep(recorder_.Buttons()))->setFocus();
}

QPushButton* RecorderWindow::ButtonOf(RecorderButton button) const {
  QPushButton* const buttons[] = {record_, stop_, play_, save_, skip_, cancel_};
  return buttons[static_cast<int>(button)];
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
