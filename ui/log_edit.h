#pragma once

#include <QPlainTextEdit>

/// The progress window's log: the user may select, scroll, copy and delete,
/// but typing or pasting text into it is refused with a beep. Typed
/// characters pass while Ctrl is held, so shortcuts keep working.
class LogEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogEdit(QWidget* parent = nullptr);

 signals:
  /// Emitted, with a beep, when typed or pasted text was refused.
  void refused();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void Refuse();
};
