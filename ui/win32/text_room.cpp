#include "ui/win32/text_room.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ui/control_room.h"

namespace {

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The size of `text` in `control`'s font, on one line, or broken into lines
// `width` pixels wide where `width` is given. An Alt key's "&" is not drawn.
SIZE TextSize(HWND control, const std::wstring& text, int width = 0) {
  const HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT box{0, 0, std::max(width, 1), 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  // Room beside the text as the controls draw it: half a character.
  return {box.right + metrics.tmAveCharWidth / 2, box.bottom};
}

// The room `control`'s text needs: a push button's within its edges, a check
// box's or radio button's beside its box, a label's on one line, or broken
// into lines at its width where it is made for more than one; nothing for
// other controls (lists and fields scroll their text), hidden ones and icons.
SIZE NeededSize(HWND control, const ControlPlace& place) {
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const std::wstring text = TextOf(control);
  if ((style & WS_VISIBLE) == 0 || text.empty()) {
    return {};
  }
  const int height = place.Bottom - place.Top;
  if (lstrcmpiW(kind, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) {
      return {};
    }
    const SIZE line = TextSize(control, text);
    if (height < 2 * line.cy) {
      return line;
    }
    return {0, TextSize(control, text, place.Right - place.Left).cy};
  }
  if (lstrcmpiW(kind, L"Button") != 0) {
    return {};
  }
  const SIZE line = TextSize(control, text);
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return {line.cx + 4 * GetSystemMetrics(SM_CXEDGE), line.cy};
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return {line.cx + GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE), line.cy};
    case BS_GROUPBOX:  // its title, between the frame's corners
      return {line.cx + 2 * line.cy, 0};
    default:
      return {};
  }
}

}  // namespace

void MakeRoomForTexts(HWND dialog) {
  std::vector<HWND> controls;
  std::vector<ControlPlace> places;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    controls.push_back(child);
    places.push_back({rect.left, rect.top, rect.right, rect.bottom});
  }
  const Growth grown = MakeRoomForTexts(places, [&](std::size_t i, const ControlPlace& place) {
    const SIZE needed = NeededSize(controls[i], place);
    return Growth{needed.cx, needed.cy};
  });
  if (grown.Width == 0 && grown.Height == 0) {
    return;
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlPlace& place = places[i];
    SetWindowPos(controls[i], nullptr, place.Left, place.Top, place.Right - place.Left,
                 place.Bottom - place.Top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT outer{};
  GetWindowRect(dialog, &outer);
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + grown.Width,
               outer.bottom - outer.top + grown.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
