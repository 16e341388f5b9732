#include "ui/win32/text_room.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Control {
  HWND Handle = nullptr;
  RECT Place{};  ///< in the dialog's client coordinates
  SIZE Needs{};  ///< the room its text needs; 0 where it needs none
};

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
SIZE NeededSize(HWND control, const RECT& place) {
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const std::wstring text = TextOf(control);
  if ((style & WS_VISIBLE) == 0 || text.empty()) {
    return {};
  }
  const int height = place.bottom - place.top;
  if (lstrcmpiW(kind, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) {
      return {};
    }
    const SIZE line = TextSize(control, text);
    if (height < 2 * line.cy) {
      return line;
    }
    return {0, TextSize(control, text, place.right - place.left).cy};
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

std::vector<Control> ControlsOf(HWND dialog) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Control control{child};
    GetWindowRect(child, &control.Place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.Place), 2);
    control.Needs = NeededSize(child, control.Place);
    controls.push_back(control);
  }
  return controls;
}

// Opens a band of `extra` pixels at `edge` across the whole dialog, along x
// or y: what starts beyond the edge moves, what spans it grows.
void InsertBand(std::vector<Control>& controls, bool alongX, LONG edge, LONG extra) {
  for (Control& control : controls) {
    LONG& start = alongX ? control.Place.left : control.Place.top;
    LONG& end = alongX ? control.Place.right : control.Place.bottom;
    if (start >= edge) {
      start += extra;
      end += extra;
    } else if (end > edge) {
      end += extra;
    }
  }
}

}  // namespace

void MakeRoomForTexts(HWND dialog) {
  std::vector<Control> controls = ControlsOf(dialog);
  SIZE grown{};
  for (const bool alongX : {true, false}) {
    for (Control& control : controls) {
      const RECT& place = control.Place;
      const LONG shortfall = alongX ? control.Needs.cx - (place.right - place.left)
                                    : control.Needs.cy - (place.bottom - place.top);
      if (shortfall > 0) {
        InsertBand(controls, alongX, alongX ? place.right : place.bottom, shortfall);
        (alongX ? control.Place.right : control.Place.bottom) += shortfall;
        (alongX ? grown.cx : grown.cy) += shortfall;
      }
    }
  }
  if (grown.cx == 0 && grown.cy == 0) {
    return;
  }
  for (const Control& control : controls) {
    SetWindowPos(control.Handle, nullptr, control.Place.left, control.Place.top,
                 control.Place.right - control.Place.left, control.Place.bottom - control.Place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT outer{};
  GetWindowRect(dialog, &outer);
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + grown.cx,
               outer.bottom - outer.top + grown.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
