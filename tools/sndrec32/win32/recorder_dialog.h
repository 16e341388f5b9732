#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/sndrec32/recorder.h"
#include "tools/sndrec32/recorder_view.h"
#include "tools/sndrec32/win32/picture_wic.h"

/// The recorder's window on Windows, as on Linux: the target file, the
/// picture with its name (decoded while the window already shows), the
/// microphone, what is going on, the length and level of the take, and the
/// buttons Spela in, Stoppa, Spela upp, Spara, Hoppa över and Avbryt, each
/// with an Alt key; Escape and closing are Avbryt. A modal dialog from the
/// resources, so the dialog manager gives the keys their usual meaning. The
/// level meter and the picture are named for screen readers (MSAA and UI
/// Automation name a control by its text or the static text before it).
class RecorderDialog {
 public:
  explicit RecorderDialog(Recorder& recorder);
  ~RecorderDialog();
  RecorderDialog(const RecorderDialog&) = delete;
  RecorderDialog& operator=(const RecorderDialog&) = delete;

  /// Offers `names` in the "Mikrofon:" list with `chosen` selected;
  /// `onChosen` runs with the index the user picks. Before Run.
  void SetMicrophones(std::vector<std::string> names, int chosen,
                      std::function<void(int)> onChosen);

  /// Shows the window until it ends; returns the program's exit code.
  int Run();

 private:
  /// Posted by the thread that decodes the picture; lParam is a DecodedPicture*.
  static constexpr UINT kPictureDecoded = WM_APP + 1;

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  void OnCommand(int id, int code);
  void Refresh();
  void ShowLevel(int percent);
  void FocusNextStep();
  void End(RecorderEnd end);
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  // recorder_layout.cpp: where the controls go, and the picture among them.
  int Pixels(int units, bool vertical) const;
  void Layout();
  void StartPicture();
  void ShowPicture(DecodedPicture* decoded);
  void DrawPicture(const DRAWITEMSTRUCT& item) const;

  Recorder& recorder_;
  HWND window_ = nullptr;
  std::vector<std::string> microphones_;
  int chosenMicrophone_ = -1;
  std::function<void(int)> onMicrophoneChosen_;
  RecorderState shownState_;
  HFONT boldFont_ = nullptr;
  bool statusBold_ = false;
  bool meterShown_ = true;  ///< The time and level have their row.
  SIZE picture_{};          ///< The picture's room in pixels; empty when none shows.
  HBITMAP bitmap_ = nullptr;
};
