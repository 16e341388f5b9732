#pragma once

#include <QPlainTextEdit>

/// The progress window's log: the user may select, scroll, copy and delete,
/// but typing or pasting text into it is refused with a beep. Typed
/// characters pass while Ctrl is held, so shortcuts keep working.
class LogEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogEdit(QWidget* parent = nullptr);

  /// Appends `line` and a line break. Lines reach the screen in batches, at
  /// most 50 ms late, so that a fast run is not held up by drawing.
  void AppendLine(const QString& line);
  /// Removes the line the last AppendLine added, with any breaks of its own;
  /// a second call removes nothing.
  void ClearLastLine();
  /// Puts the lines still waiting into the text now.
  void Flush();

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

  enum class LastLine { None, Waiting, Shown };
  QString waiting_;                 ///< Lines not yet in the text, each with its break.
  qsizetype waitingLastStart_ = 0;  ///< Where the last line starts in waiting_.
  int shownLastStart_ = 0;          ///< Where the last line starts in the text.
  LastLine last_ = LastLine::None;
  bool flushQueued_ = false;
};
