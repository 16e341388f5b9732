#pragma once

#include <windows.h>

#include <functional>

/// A hidden window that hands the messages sent to it to `handler`: the wave
/// devices report through it, so the recorder hears from them on the thread
/// that runs the windows, as it does on Linux.
class MessageWindow {
 public:
  using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
  explicit MessageWindow(Handler handler);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND window_ = nullptr;
};
