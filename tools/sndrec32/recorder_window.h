#pragma once

#include <QDialog>

#include "tools/sndrec32/recorder.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

/// Exit codes: the take was saved; anything else (cancel, close, failure).
inline constexpr int kExitSaved = 0;
inline constexpr int kExitNotSaved = 2;

/// The recorder's window: the target file, what is going on, the length and
/// level of the take, and the buttons "Spela in", "Stoppa", "Spela upp",
/// "Spara" and "Avbryt". Saving successfully accepts the dialog; Avbryt,
/// Escape and closing the window reject it and drop the take.
class RecorderWindow : public QDialog {
 public:
  explicit RecorderWindow(Recorder& recorder, QWidget* parent = nullptr);
  ~RecorderWindow() override;

  /// kExitSaved once the take was saved, otherwise kExitNotSaved.
  int ExitCode() const;

  void reject() override;

 private:
  QPushButton* AddButton(const char* text, const char* name);
  void Refresh();
  void SaveAndClose();

  Recorder& recorder_;
  QLabel* status_;
  QLabel* time_;
  QProgressBar* level_;
  QWidget* meter_;
  QPushButton* record_;
  QPushButton* stop_;
  QPushButton* play_;
  QPushButton* save_;
  QPushButton* cancel_;
};

/// "m:ss" for a length in seconds, rounded down.
QString FormatDuration(double seconds);
