#include "ui/qt/progress_window.h"

#include <QEventLoop>
#include <QFontDatabase>
#include <QPushButton>
#include <QThread>

#include "resources/string_table.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/log_edit.h"
#include "ui/qt/message_box_services.h"
#include "ui/qt/translation.h"
#include "ui/qt/window_placement.h"
#include "ui/window_rules.h"
#include "ui_progress.h"

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::ProgressForm>()) {
  ui_->setupUi(this);
  TranslateForm(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  // The log takes up what the window gains or loses when resized.
  ApplyDialogUnits(*this, ui_->log);
  FitOnScreen(*this);
  CenterWindow(*this);
  SetUpForKeyboard(*this);
  log_ = ui_->log;
  log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ui_->okButton->setEnabled(false);
  connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::reject() {
  // Escape and the close box come here as well as "Avbryt".
  cancelRequested_.store(1);
  QDialog::reject();
}

void ProgressWindow::done(int result) {
  {
    const std::lock_guard lock(mutex_);
    closed_.store(true);
  }
  changed_.notify_all();
  QDialog::done(result);
}

void ProgressWindow::ShowMessageBox(MessageOwner owner, std::string_view caption,
                                    std::string_view text) {
  OnGuiThread([&] {
    log_->Flush();
    MessageBoxServices().ShowMessageBox(owner, caption, text);
  });
}

void ProgressWindow::LogLine(std::string_view line) {
  if (IsClosed()) {
    return;
  }
  // The log takes the line from any thread: a hand-over to the GUI thread
  // per line would cost more than the album's own work per picture.
  log_->AppendLine(FromUtf8(CutLogLine(line)));
}

void ProgressWindow::ClearLastLine() {
  if (IsClosed() || log_->ClearWaitingLastLine()) {
    return;
  }
  OnGuiThread([this] {
    if (!IsClosed()) {
      log_->ClearLastLine();
    }
  });
}

void ProgressWindow::FinishProgress() {
  if (IsClosed()) {
    return;
  }
  OnGuiThread([this] {
    if (!IsClosed()) {
      log_->Flush();
      ui_->okButton->setEnabled(true);
      AnnouncerOf(*this).Say(Translated(kTextRunFinished));
    }
  });
  if (QThread::currentThread() == thread()) {
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    if (!IsClosed()) {
      loop.exec();
    }
    return;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_.load(); });
}

void ProgressWindow::OnGuiThread(std::function<void()> work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  request_ = std::move(work);
  pending_ = true;
  lock.unlock();
  QMetaObject::invokeMethod(this, "ServeRequests", Qt::QueuedConnection);
  lock.lock();
  changed_.wait(lock, [this] { return !pending_; });
}

// Carries out the call waiting from another thread, on the GUI thread.
void ProgressWindow::ServeRequests() {
  std::unique_lock lock(mutex_);
  if (!request_) {
    return;
  }
  const std::function<void()> work = std::exchange(request_, nullptr);
  lock.unlock();
  work();
  lock.lock();
  pending_ = false;
  changed_.notify_all();
}
