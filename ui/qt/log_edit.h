#pragma once

#include <QPlainTextEdit>
#include <mutex>

/// The progress window's log: the user may select, scroll, copy and delete,
/// but typing or pasting text into it is refused with a beep. Typed
/// characters pass while Ctrl is held, so shortcuts keep working.
class LogEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogEdit(QWidget* parent = nullptr);

  /// Appends `line` and a line break; any thread may call it, and the line
  /// is in the log when it returns. Lines reach the screen in batches, at
  /// most 50 ms late, so that a fast run is held up neither by drawing nor by
  /// waiting for the GUI thread.
  void AppendLine(const QString& line);
  /// Removes the line the last AppendLine added while it still waits to be
  /// shown (or there is none); any thread. False when it is on screen
  /// already: then ClearLastLine must do it on the GUI thread.
  bool ClearWaitingLastLine();
  /// Removes the line the last AppendLine added, with any breaks of its own;
  /// a second call removes nothing. GUI thread.
  void ClearLastLine();
  /// Puts the lines still waiting into the text now. GUI thread.
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
  std::mutex mutex_;                ///< Guards the lines waiting and last_.
  QString waiting_;                 ///< Lines not yet in the text, each with its break.
  qsizetype waitingLastStart_ = 0;  ///< Where the last line starts in waiting_.
  int shownLastStart_ = 0;          ///< Where the last line starts in the text (GUI thread).
  LastLine last_ = LastLine::None;
  bool flushQueued_ = false;
};
