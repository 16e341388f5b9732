#pragma once

// What every Win32 window of the program does the same way: placement, the
// icon, and control texts in UTF-8.

#include <windows.h>

#include <string>
#include <string_view>

/// The module the dialogs, the icon and the version are compiled into.
HINSTANCE ProgramModule();

/// Shows the dialog resource `id` in the language of the program's texts,
/// modally, as DialogBoxParamW does.
INT_PTR ShowDialog(int id, HWND owner, DLGPROC procedure, LPARAM parameter);

/// Centres `window` horizontally on the primary screen and puts it a third of
/// the free height from the top, keeping its size; it is not activated.
void CenterWindow(HWND window);

/// Shows the focus and the Alt keys' underlined letters in `dialog` from the
/// start, not only once the keyboard has been used, as Windows otherwise does.
/// Call at WM_INITDIALOG.
void ShowKeyboardCues(HWND dialog);

/// Gives `window` the program's icon in its caption and task bar button.
void ShowProgramIcon(HWND window);

/// The program's icon at `side` pixels; the system keeps it for the process.
HICON ProgramIcon(int side);

/// The text of control `id` of `dialog`, in UTF-8.
std::string DialogItemText(HWND dialog, int id);

/// Sets the text of control `id` of `dialog` from UTF-8.
void SetDialogItemText(HWND dialog, int id, std::string_view text);
