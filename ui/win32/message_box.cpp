#include "ui/win32/message_box.h"

#include "app/window_services.h"
#include "platform/utf16.h"

void ShowErrorBox(HWND owner, std::string_view caption, std::string_view text) {
  ConsoleWindowServices(/*quiet=*/true).ShowMessageBox(owner, caption, text);
  MessageBoxW(owner, Utf16(text).c_str(), Utf16(caption).c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
