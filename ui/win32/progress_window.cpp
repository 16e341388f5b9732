#include "ui/win32/progress_window.h"

#include <algorithm>
#include <string>

#include "platform/utf16.h"
#include "resources/resource_ids.h"
#include "ui/win32/dialog_support.h"
#include "ui/win32/log_filter.h"
#include "ui/win32/message_box.h"
#include "ui/window_rules.h"

namespace {

// Ends the window without a cancel, when the run is over.
constexpr UINT kEndWindow = WM_APP + 1;

// Courier New at 9 points, a monospace font of the system's if it is missing.
HFONT MakeLogFont(HWND log) {
  LOGFONTW face{};
  const HDC screen = GetDC(log);
  face.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(log, screen);
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynW(face.lfFaceName, L"Courier New", LF_FACESIZE);
  return CreateFontIndirectW(&face);
}

}  // namespace

ProgressWindow::~ProgressWindow() {
  if (!thread_) {
    return;
  }
  if (const HWND dialog = dialog_.load(); dialog != nullptr && !closed_.load()) {
    SendMessageW(dialog, kEndWindow, 0, 0);
  }
  WaitForSingleObject(thread_.get(), INFINITE);
}

void ProgressWindow::Start() {
  thread_.Reset(CreateThread(nullptr, 0, &ProgressWindow::ThreadMain, this, 0, nullptr));
  // The test comes before each sleep: no sleep when the window is up already.
  for (int polls = 0; thread_ && log_.load() == nullptr && polls < 100; ++polls) {
    Sleep(50);
  }
}

DWORD WINAPI ProgressWindow::ThreadMain(void* self) {
  auto* window = static_cast<ProgressWindow*>(self);
  ShowDialog(IDD_PROGRESS_FORM, nullptr, &ProgressWindow::DialogProc,
             reinterpret_cast<LPARAM>(window));
  // Also when the dialog could not be made: the run then goes on without it.
  window->closed_.store(true);
  if (window->font_ != nullptr) {
    DeleteObject(window->font_);
  }
  return 0;
}

INT_PTR CALLBACK ProgressWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<ProgressWindow*>(lParam)->Initialise(dialog);
    return TRUE;
  }
  auto* window = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (window == nullptr) {
    return FALSE;
  }
  if (message == WM_SIZE) {
    window->Arrange(dialog, LOWORD(lParam), HIWORD(lParam));
    return TRUE;
  }
  if (message == WM_GETMINMAXINFO && window->smallest_.cx > 0) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    limits->ptMinTrackSize = {window->smallest_.cx, window->smallest_.cy};
    return TRUE;
  }
  if (message == kEndWindow) {
    window->Close(dialog, IDOK);
    return TRUE;
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case IDOK:
      // Enter reaches here too: only once FinishProgress has enabled OK.
      if (IsWindowEnabled(GetDlgItem(dialog, IDOK))) {
        window->Close(dialog, IDOK);
      }
      return TRUE;
    case IDCANCEL:
      // "Avbryt", Escape and the close box alike.
      window->cancelRequested_.store(1);
      window->Close(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void ProgressWindow::Initialise(HWND dialog) {
  ShowProgramIcon(dialog);
  LetResize(dialog);
  CenterWindow(dialog);
  ShowKeyboardCues(dialog);
  const HWND log = GetDlgItem(dialog, IDC_LOG);
  font_ = MakeLogFont(log);
  SendMessageW(log, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  // 0 lifts the limit: the log of a long run is never cut.
  SendMessageW(log, EM_SETLIMITTEXT, 0, 0);
  EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
  EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
  RefuseTypingInLog(log);
  dialog_.store(dialog);
  log_.store(log);
}

// The dialog gets a sizing border, keeping its client area, and then no more
// than the work area of its screen, as at twice the scale on a small one.
void ProgressWindow::LetResize(HWND dialog) {
  const auto placeOf = [dialog](int id) {
    RECT place{};
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
  };
  RECT client{};
  GetClientRect(dialog, &client);
  client_ = {client.right, client.bottom};
  logPlace_ = placeOf(IDC_LOG);
  okPlace_ = placeOf(IDOK);
  cancelPlace_ = placeOf(IDCANCEL);

  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)) | WS_THICKFRAME;
  const DWORD extended = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
  SetWindowLongPtrW(dialog, GWL_STYLE, style);
  const auto outer = [style, extended](LONG width, LONG height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, extended);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
  };
  const LONG logHeight = logPlace_.bottom - logPlace_.top;
  const LONG fewLines = std::min<LONG>(logHeight, logHeight / 4 + 1);
  smallest_ =
      outer(std::min<LONG>(client_.cx, cancelPlace_.right - okPlace_.left + 2 * logPlace_.left),
            client_.cy - logHeight + fewLines);
  SIZE size = outer(client_.cx, client_.cy);
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  if (GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &screen)) {
    size.cx = std::max(smallest_.cx, std::min(size.cx, screen.rcWork.right - screen.rcWork.left));
    size.cy = std::max(smallest_.cy, std::min(size.cy, screen.rcWork.bottom - screen.rcWork.top));
  }
  SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The log takes up what the client area gained or lost; OK and Avbryt move
// down with its bottom and stay centred under it.
void ProgressWindow::Arrange(HWND dialog, int width, int height) const {
  if (client_.cx == 0) {
    return;  // before LetResize has noted the layout
  }
  const int dx = width - client_.cx;
  const int dy = height - client_.cy;
  HDWP moves = BeginDeferWindowPos(3);
  const auto place = [dialog, &moves](int id, const RECT& rect, int moveX, int moveY, int growX,
                                      int growY) {
    if (moves != nullptr) {
      moves = DeferWindowPos(moves, GetDlgItem(dialog, id), nullptr, rect.left + moveX,
                             rect.top + moveY, rect.right - rect.left + growX,
                             rect.bottom - rect.top + growY, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  };
  place(IDC_LOG, logPlace_, 0, 0, dx, dy);
  place(IDOK, okPlace_, dx / 2, dy, 0, 0);
  place(IDCANCEL, cancelPlace_, dx / 2, dy, 0, 0);
  if (moves != nullptr) {
    EndDeferWindowPos(moves);
  }
  // The dialog paints its background over where the buttons were and are.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ProgressWindow::Close(HWND dialog, int result) {
  closed_.store(true);
  EndDialog(dialog, result);
}

void ProgressWindow::ShowMessageBox(MessageOwner owner, std::string_view caption,
                                    std::string_view text) {
  ShowErrorBox(static_cast<HWND>(const_cast<void*>(owner)), caption, text);
}

void ProgressWindow::LogLine(std::string_view line) {
  const HWND log = OpenLog();
  if (log == nullptr) {
    return;
  }
  const std::wstring text = Utf16(CutLogLine(line)) + L"\r\n";
  const LRESULT end = SendMessageW(log, WM_GETTEXTLENGTH, 0, 0);
  lastLineStart_ = end;
  SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void ProgressWindow::ClearLastLine() {
  const HWND log = OpenLog();
  if (log == nullptr) {
    return;
  }
  const LRESULT end = SendMessageW(log, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(lastLineStart_), end);
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}

void ProgressWindow::FinishProgress() {
  const HWND dialog = dialog_.load();
  if (!thread_ || dialog == nullptr || closed_.load()) {
    return;
  }
  EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
  WaitForSingleObject(thread_.get(), INFINITE);
}
