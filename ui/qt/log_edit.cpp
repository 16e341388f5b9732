#include "ui/qt/log_edit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

LogEdit::LogEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // A log line is never wrapped; long ones scroll sideways.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);
  setUndoRedoEnabled(false);
  setMaximumBlockCount(0);
  // A drop onto itself would first remove the dragged text, then be refused.
  setAcceptDrops(false);
  // The user may delete text before the last line: its start moves along.
  connect(document(), &QTextDocument::contentsChange, this,
          [this](int position, int removed, int added) {
            if (position < shownLastStart_) {
              shownLastStart_ = std::max(position, shownLastStart_ - removed) + added;
            }
          });
}

void LogEdit::AppendLine(const QString& line) {
  const std::lock_guard lock(mutex_);
  waitingLastStart_ = waiting_.size();
  waiting_ += line;
  waiting_ += QLatin1Char('\n');
  last_ = LastLine::Waiting;
  if (!flushQueued_) {
    flushQueued_ = true;
    // Posted, so the timer starts on the GUI thread whoever called.
    QMetaObject::invokeMethod(
        this, [this] { QTimer::singleShot(50, this, &LogEdit::Flush); }, Qt::QueuedConnection);
  }
}

bool LogEdit::ClearWaitingLastLine() {
  const std::lock_guard lock(mutex_);
  if (last_ == LastLine::Shown) {
    return false;
  }
  if (last_ == LastLine::Waiting) {
    waiting_.truncate(waitingLastStart_);
  }
  last_ = LastLine::None;
  return true;
}

void LogEdit::ClearLastLine() {
  if (ClearWaitingLastLine()) {
    return;
  }
  QTextCursor line(document());
  line.setPosition(shownLastStart_);
  line.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  line.removeSelectedText();
  const std::lock_guard lock(mutex_);
  if (last_ == LastLine::Shown) {
    last_ = LastLine::None;
  }
}

void LogEdit::Flush() {
  QString lines;
  bool lastWaiting = false;
  qsizetype lastStart = 0;
  {
    const std::lock_guard lock(mutex_);
    flushQueued_ = false;
    lines.swap(waiting_);
    lastWaiting = last_ == LastLine::Waiting;
    lastStart = waitingLastStart_;
    if (lastWaiting) {
      last_ = LastLine::Shown;
    }
  }
  if (lines.isEmpty()) {
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  const bool atBottom = bar->value() == bar->maximum();
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  const int start = end.position();
  end.insertText(lines);
  if (lastWaiting) {
    shownLastStart_ = start + static_cast<int>(lastStart);
  }
  // Follow the log unless the user has scrolled back to read it.
  if (atBottom) {
    bar->setValue(bar->maximum());
  }
}

void LogEdit::keyPressEvent(QKeyEvent* event) {
  // Enter belongs to the dialog's default button, as in a dialog's log field.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->ignore();
    return;
  }
  const QString text = event->text();
  const bool ctrlHeld = event->modifiers().testFlag(Qt::ControlModifier);
  if (!ctrlHeld && !text.isEmpty() && text.front().unicode() >= 32 &&
      text.front().unicode() != 127) {
    Refuse();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void LogEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Composed text (dead keys, input methods) is typing too.
  if (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) {
    Refuse();
    event->accept();
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

// Every way of pasting (shortcut, menu, middle button) arrives here.
bool LogEdit::canInsertFromMimeData(const QMimeData* /*source*/) const {
  return true;
}

void LogEdit::insertFromMimeData(const QMimeData* /*source*/) {
  Refuse();
}

void LogEdit::Refuse() {
  QApplication::beep();
  emit refused();
}
