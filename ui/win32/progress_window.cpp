#include "ui/win32/progress_window.h"

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
  DialogBoxParamW(ProgramModule(), MAKEINTRESOURCEW(IDD_PROGRESS_FORM), nullptr,
                  &ProgressWindow::DialogProc, reinterpret_cast<LPARAM>(window));
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
