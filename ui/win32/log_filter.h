#pragma once

#include <windows.h>

/// Puts a filter in front of the log control `log`: typing and pasting into
/// the log beep and change nothing, while Backspace, Delete, selecting,
/// scrolling and copying reach it as ever. It stays until the control goes.
void RefuseTypingInLog(HWND log);
