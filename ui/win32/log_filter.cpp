#include "ui/win32/log_filter.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kLogFilterId = 1;

bool Held(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// A typed character that would land in the log: a printable one while Ctrl is
// up. AltGr is Ctrl and Alt together and types characters such as "@" and
// "{": those are refused too. Codes below 32 (Backspace, Ctrl+C) pass.
bool TypesText(WPARAM code) {
  return code >= 32 && (!Held(VK_CONTROL) || Held(VK_MENU));
}

LRESULT CALLBACK LogFilter(HWND log, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
  switch (message) {
    case WM_PASTE:
      MessageBeep(MB_OK);
      return 0;
    case WM_CHAR:
      if (TypesText(wParam)) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(log, LogFilter, kLogFilterId);
      break;
  }
  return DefSubclassProc(log, message, wParam, lParam);
}

}  // namespace

void RefuseTypingInLog(HWND log) {
  SetWindowSubclass(log, LogFilter, kLogFilterId, 0);
}
