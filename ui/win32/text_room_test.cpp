#include "ui/win32/text_room.h"

#include <gtest/gtest.h>

namespace {

RECT PlaceIn(HWND window, HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// A window as a dialog of the forms lays it out in a font other than the one
// it was made for: a label too narrow for its text, its field close beside
// it, a frame across both and a button beyond; and a label that fits,
// left where it is.
TEST(MakeRoomForTexts, WidensWhatIsCutAndMovesWhatLiesBeyond) {
  const HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                      nullptr, nullptr);
  if (window == nullptr) {
    GTEST_SKIP() << "no windows without a display";
  }
  const auto child = [&](const wchar_t* kind, const wchar_t* text, LONG style, RECT at) {
    const HWND made =
        CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, window, nullptr, nullptr, nullptr);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return made;
  };
  const HWND cut = child(L"Static", L"&Antal miniatyrbilder per rad:", SS_LEFT, {10, 50, 40, 74});
  const HWND field = child(L"Edit", L"3", 0, {45, 50, 70, 74});
  const HWND frame = child(L"Button", L"Ram", BS_GROUPBOX, {5, 40, 80, 80});
  const HWND beyond = child(L"Button", L"OK", BS_PUSHBUTTON, {200, 10, 280, 30});
  const HWND fits = child(L"Static", L"Ja", SS_LEFT, {10, 10, 38, 34});
  RECT before{};
  GetWindowRect(window, &before);

  MakeRoomForTexts(window);

  const RECT label = PlaceIn(window, cut);
  const HDC dc = GetDC(cut);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Antal miniatyrbilder per rad:", 29, &text);
  ReleaseDC(cut, dc);
  EXPECT_GE(label.right - label.left, text.cx);
  const LONG grown = label.right - 40;
  EXPECT_EQ(45 + grown, PlaceIn(window, field).left);
  EXPECT_EQ(80 + grown, PlaceIn(window, frame).right);
  EXPECT_EQ(200 + grown, PlaceIn(window, beyond).left);
  const RECT kept = PlaceIn(window, fits);
  EXPECT_EQ(10, kept.left);
  EXPECT_EQ(38, kept.right);
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(300 + grown, after.right - after.left);
  EXPECT_EQ(200, after.bottom - after.top);
  DestroyWindow(window);
}

}  // namespace
