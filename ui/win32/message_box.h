#pragma once

#include <windows.h>

#include <string_view>

/// Shows `text` under `caption` with the error icon and one OK button, modal
/// to `owner` (none: to the program), brought to the foreground; returns when
/// it is dismissed. The message is written to standard error too, so that a
/// terminal or a test keeps it.
void ShowErrorBox(HWND owner, std::string_view caption, std::string_view text);
