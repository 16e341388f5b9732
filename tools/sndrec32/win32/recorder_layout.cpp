// Where the recorder window's controls go: one column, as on Linux, with the
// picture's room worked out from the screen before the window shows.

#include <algorithm>
#include <memory>
#include <thread>

#include "platform/utf16.h"
#include "tools/sndrec32/picture_file.h"
#include "tools/sndrec32/win32/recorder_dialog.h"
#include "tools/sndrec32/win32/recorder_ids.h"

namespace {

// In dialog units, as the resources give sizes.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kLine = 8;
constexpr int kMinimumWidth = 340;
constexpr int kLabelWidth = 40;
constexpr int kComboHeight = 12;
constexpr int kComboDropHeight = 80;
constexpr int kTimeWidth = 24;
constexpr int kLevelHeight = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

// Logical pixels (of 96 per inch) as the screen's pixels.
double ScreenScale() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

}  // namespace

int RecorderDialog::Pixels(int units, bool vertical) const {
  RECT rect{0, 0, vertical ? 0 : units, vertical ? units : 0};
  MapDialogRect(window_, &rect);
  return vertical ? rect.bottom : rect.right;
}

void RecorderDialog::Layout() {
  const auto x = [this](int units) { return Pixels(units, false); };
  const auto y = [this](int units) { return Pixels(units, true); };
  const int margin = x(kMargin);
  const int width = std::max<int>(x(kMinimumWidth), picture_.cx + 2 * margin);
  const int inner = width - 2 * margin;
  int top = y(kMargin);
  const auto place = [this](int id, int left, int at, int w, int h) {
    SetWindowPos(Item(id), nullptr, left, at, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(IDC_FILE, margin, top, inner, y(2 * kLine));
  top += y(2 * kLine + kGap);
  const bool pictured = picture_.cx > 0;
  ShowWindow(Item(IDC_PICTURE), pictured ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Item(IDC_PICTURE_NAME), pictured ? SW_SHOWNA : SW_HIDE);
  if (pictured) {
    place(IDC_PICTURE, (width - picture_.cx) / 2, top, picture_.cx, picture_.cy);
    top += picture_.cy + y(kGap);
    place(IDC_PICTURE_NAME, margin, top, inner, y(kLine));
    top += y(kLine + kGap);
  }
  const bool microphones = !microphones_.empty();
  ShowWindow(Item(IDC_MICROPHONE_LABEL), microphones ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Item(IDC_MICROPHONE), microphones ? SW_SHOWNA : SW_HIDE);
  if (microphones) {
    place(IDC_MICROPHONE_LABEL, margin, top + y(2), x(kLabelWidth), y(kLine));
    place(IDC_MICROPHONE, margin + x(kLabelWidth + 2), top, inner - x(kLabelWidth + 2),
          y(kComboHeight + kComboDropHeight));
    top += y(kComboHeight + kGap);
  }
  place(IDC_STATUS, margin, top, inner, y(2 * kLine));
  top += y(2 * kLine + kGap);
  ShowWindow(Item(IDC_TIME), meterShown_ ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Item(IDC_LEVEL), meterShown_ ? SW_SHOWNA : SW_HIDE);
  if (meterShown_) {
    place(IDC_TIME, margin, top + y(1), x(kTimeWidth), y(kLine));
    place(IDC_LEVEL, margin + x(kTimeWidth + 2), top, inner - x(kTimeWidth + 2), y(kLevelHeight));
    top += y(kLevelHeight + kGap);
  }
  const int buttonWidth = x(kButtonWidth);
  const int step = buttonWidth + x(kGap);
  int left = margin;
  for (const int id : {IDC_RECORD, IDC_STOP, IDC_PLAY, IDC_SAVE}) {
    place(id, left, top, buttonWidth, y(kButtonHeight));
    left += step;
  }
  place(IDC_SKIP, width - margin - buttonWidth - step, top, buttonWidth, y(kButtonHeight));
  place(IDCANCEL, width - margin - buttonWidth, top, buttonWidth, y(kButtonHeight));
  top += y(kButtonHeight + kMargin);

  // The window around that client area, in the middle of the work area
  // when it opens; where the user left it later.
  RECT frame{0, 0, width, top};
  AdjustWindowRectEx(&frame, GetWindowLongW(window_, GWL_STYLE), FALSE,
                     GetWindowLongW(window_, GWL_EXSTYLE));
  RECT screen{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  const int outerWidth = frame.right - frame.left;
  const int outerHeight = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - outerWidth) / 2,
               screen.top + std::max<int>(0, (screen.bottom - screen.top - outerHeight) / 2),
               outerWidth, outerHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | (IsWindowVisible(window_) ? SWP_NOMOVE : 0));
}

// The picture's room is known from its header at once, so the window is
// placed with it; the picture itself is decoded on another thread.
void RecorderDialog::StartPicture() {
  std::optional<CommentPicture> found = FindPicture(recorder_.TargetPath());
  if (!found) {
    return;
  }
  picture_ = {};
  Layout();  // the window without the picture: what the picture leaves room for
  RECT window{};
  GetWindowRect(window_, &window);
  RECT client{};
  GetClientRect(window_, &client);
  const int border = (window.right - window.left) - client.right;
  RECT screen{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  const double scale = ScreenScale();
  const int nameLine = Pixels(kLine + 2 * kGap, true);
  const PictureSize rest{static_cast<int>((Pixels(2 * kMargin, false) + border) / scale),
                         static_cast<int>((window.bottom - window.top + nameLine) / scale)};
  const PictureSize room = PictureBoxOn({static_cast<int>((screen.right - screen.left) / scale),
                                         static_cast<int>((screen.bottom - screen.top) / scale)},
                                        rest);
  if (room.Width <= 0) {
    return;
  }
  const PictureSize box{static_cast<int>(room.Width * scale),
                        static_cast<int>(room.Height * scale)};
  const PictureSize fitted = FittedSize(*found, box);
  picture_ = {std::max(1, fitted.Width), std::max(1, fitted.Height)};
  SetDlgItemTextW(window_, IDC_PICTURE_NAME, Utf16(found->Name).c_str());
  SetDlgItemTextW(window_, IDC_PICTURE, Utf16(PictureAccessibleName(found->Name)).c_str());
  // Shared: the decoding may outlast the window; the file closes after it.
  auto picture = std::make_shared<CommentPicture>(std::move(*found));
  const HWND target = window_;
  std::thread([picture, box, target] {
    auto* decoded = new DecodedPicture(DecodePicture(*picture, box));
    if (!PostMessageW(target, kPictureDecoded, 0, reinterpret_cast<LPARAM>(decoded))) {
      delete decoded;
    }
  }).detach();
}

void RecorderDialog::ShowPicture(DecodedPicture* decoded) {
  const std::unique_ptr<DecodedPicture> owned(decoded);
  if (owned->Pixels.empty()) {
    picture_ = {};
    Layout();
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = owned->Width;
  info.bmiHeader.biHeight = -owned->Height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ != nullptr) {
    std::copy(owned->Pixels.begin(), owned->Pixels.end(), static_cast<unsigned char*>(bits));
  }
  InvalidateRect(Item(IDC_PICTURE), nullptr, FALSE);
}

void RecorderDialog::DrawPicture(const DRAWITEMSTRUCT& item) const {
  if (bitmap_ == nullptr) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  const HDC memory = CreateCompatibleDC(item.hDC);
  const HGDIOBJ before = SelectObject(memory, bitmap_);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
         item.rcItem.bottom - item.rcItem.top, memory, 0, 0, SRCCOPY);
  SelectObject(memory, before);
  DeleteDC(memory);
}
