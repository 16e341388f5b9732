#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QImage>
#include <QTimer>

#include "tools/sndrec32/recorder.h"
#include "tools/sndrec32/recorder_view.h"

#include <functional>

class Announcer;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

/// The recorder's window: the target file, the picture beside it with its
/// name (when there is one; decoded while the window already shows), the
/// microphone, what is going on, the length and level of the take (or of the
/// playback), and the buttons "Spela in", "Stoppa", "Spela upp", "Spara",
/// "Hoppa över" and "Avbryt", each with an Alt key. Screen readers hear
/// what is going on as it changes, and the microphone the user picks.
/// Saving successfully accepts the dialog; Hoppa över ends it with the file
/// untouched; Avbryt, Escape and closing the window reject it. The last two
/// drop the take.
class RecorderWindow : public QDialog {
 public:
  explicit RecorderWindow(Recorder& recorder, QWidget* parent = nullptr);
  ~RecorderWindow() override;

  /// kExitSaved once the take was saved, otherwise kExitNotSaved.
  int ExitCode() const;

  /// Offers `names` in the "Mikrofon:" list with `chosen` selected;
  /// `onChosen` runs with the index the user picks.
  void SetMicrophones(const QStringList& names, int chosen, std::function<void(int)> onChosen);

  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// A button with the catalog's text `text`.
  QPushButton* AddButton(int text, const char* name);
  void Refresh();
  void ShowLevel();
  void StartPicture();
  QSize PictureBox() const;
  void ShowDecodedPicture();
  void SaveAndClose();
  void Skip();
  void FocusNextStep();
  QPushButton* ButtonOf(RecorderButton button) const;

  Recorder& recorder_;
  QLabel* picture_;
  QLabel* pictureName_;
  QFutureWatcher<QImage> decoded_;
  Announcer* status_;
  QLabel* time_;
  QProgressBar* level_;
  QTimer playbackMeter_;  ///< Moves the level with the output while playing.
  QWidget* meter_;
  QWidget* microphoneRow_;
  QComboBox* microphone_;
  std::function<void(int)> onMicrophoneChosen_;
  RecorderState shownState_;
  QPushButton* record_;
  QPushButton* stop_;
  QPushButton* play_;
  QPushButton* save_;
  QPushButton* skip_;
  QPushButton* cancel_;
};
