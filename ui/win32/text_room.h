#pragma once

// Dialogs laid out in dialog units still clip a text that runs longer in
// another language or font than the layout allowed for.

#include <windows.h>

/// Widens, then heightens, every control of `dialog` whose text does not fit
/// in it: what lies beyond moves along, what spans it grows, and so does the
/// dialog. Call at WM_INITDIALOG, before the dialog is placed.
void MakeRoomForTexts(HWND dialog);
