#include "ui/log_edit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

LogEdit::LogEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // A log line is never wrapped; long ones scroll sideways.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);
  setUndoRedoEnabled(false);
  setMaximumBlockCount(0);
  // A drop onto itself would first remove the dragged text, then be refused.
  setAcceptDrops(false);
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
