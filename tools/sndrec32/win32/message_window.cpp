#include "tools/sndrec32/win32/message_window.h"

namespace {

constexpr wchar_t kClassName[] = L"Sndrec32Messages";

}  // namespace

MessageWindow::MessageWindow(Handler handler) : handler_(std::move(handler)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &MessageWindow::Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered before
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, this);
}

MessageWindow::~MessageWindow() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (auto* self =
                 reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
    if (message >= WM_USER || message == WM_TIMER ||
        (message >= MM_WOM_OPEN && message <= MM_WIM_DATA)) {
      self->handler_(message, wParam, lParam);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
