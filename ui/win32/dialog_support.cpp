#include "ui/win32/dialog_support.h"

#include "platform/utf16.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "ui/window_rules.h"

HINSTANCE ProgramModule() {
  return GetModuleHandleW(nullptr);
}

INT_PTR ShowDialog(int id, HWND owner, DLGPROC procedure, LPARAM parameter) {
  // The build puts each dialog in Swedish and in English; the texts'
  // language decides, not the system's own search among the languages.
  const WORD language = TextLanguage() == Language::English
                            ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                            : MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH);
  const HRSRC found = FindResourceExW(ProgramModule(), MAKEINTRESOURCEW(5) /* RT_DIALOG */,
                                      MAKEINTRESOURCEW(id), language);
  const HGLOBAL loaded = found != nullptr ? LoadResource(ProgramModule(), found) : nullptr;
  const auto* dialog =
      static_cast<const DLGTEMPLATE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (dialog == nullptr) {
    return DialogBoxParamW(ProgramModule(), MAKEINTRESOURCEW(id), owner, procedure, parameter);
  }
  return DialogBoxIndirectParamW(ProgramModule(), dialog, owner, procedure, parameter);
}

void CenterWindow(HWND window) {
  RECT outer{};
  if (!GetWindowRect(window, &outer)) {
    return;
  }
  // The primary screen, as the dialogs have always been placed.
  const WindowPosition at =
      CenteredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                       outer.right - outer.left, outer.bottom - outer.top);
  SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void ShowKeyboardCues(HWND dialog) {
  // Posted: the dialog manager sets the cues from the last input once the
  // dialog is made, after WM_INITDIALOG.
  PostMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

HICON ProgramIcon(int side) {
  // LR_SHARED: the system owns the icon, so nobody has to free it.
  return static_cast<HICON>(LoadImageW(ProgramModule(), MAKEINTRESOURCEW(IDI_PROGRAM_ICON),
                                       IMAGE_ICON, side, side, LR_SHARED));
}

void ShowProgramIcon(HWND window) {
  SendMessageW(window, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(ProgramIcon(GetSystemMetrics(SM_CXICON))));
  SendMessageW(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(GetSystemMetrics(SM_CXSMICON))));
}

std::string DialogItemText(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void SetDialogItemText(HWND dialog, int id, std::string_view text) {
  SetDlgItemTextW(dialog, id, Utf16(text).c_str());
}
