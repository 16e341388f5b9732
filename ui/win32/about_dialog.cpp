#include "ui/win32/about_dialog.h"

#include <algorithm>

#include "external/browser_launcher.h"
#include "korvalo_build_date.h"
#include "resources/resource_ids.h"
#include "ui/win32/dialog_support.h"
#include "ui/win32/text_room.h"
#include "ui/window_rules.h"

namespace {

// The icon control has no id of its own: it is the one static of icon style.
BOOL CALLBACK PutIconIn(HWND control, LPARAM) {
  if ((GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    RECT box{};
    GetClientRect(control, &box);
    const int side = std::min(box.right - box.left, box.bottom - box.top);
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon(side)), 0);
  }
  return TRUE;
}

void Initialise(HWND dialog) {
  ShowProgramIcon(dialog);
  SetDialogItemText(
      dialog, IDC_ABOUT_TEXT,
      FillAboutText(DialogItemText(dialog, IDC_ABOUT_TEXT), {KORVALO_VERSION, KORVALO_BUILD_DATE}));
  EnumChildWindows(dialog, &PutIconIn, 0);
  MakeRoomForTexts(dialog);
  CenterWindow(dialog);
  ShowKeyboardCues(dialog);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Initialise(dialog);
    return TRUE;  // the focus goes to the first tab stop, OK
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  const auto* run = reinterpret_cast<const RunState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      OpenInBrowser(run->Paths.HelpFile + "#legal", true);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void AboutDialog(const RunState& run, HWND owner) {
  ShowDialog(IDD_ABOUT_FORM, owner, &AboutProc, reinterpret_cast<LPARAM>(&run));
}
