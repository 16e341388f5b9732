#pragma once

class QWidget;

/// Where a window of `windowWidth` x `windowHeight` goes on a screen of
/// `screenWidth` x `screenHeight`: centred horizontally, a third of the free
/// height from the top, both truncated toward zero (negative when it does not fit).
struct WindowPosition {
  int x = 0;
  int y = 0;
};
WindowPosition CenteredPosition(int screenWidth, int screenHeight, int windowWidth,
                                int windowHeight);

/// Moves `window` (its outer frame) to its centred place on the primary screen,
/// keeping its size. Every window calls it before it is first shown. A frame
/// that a window manager adds only once the window is shown is counted too:
/// the window is placed once more as soon as that frame is known.
void CenterWindow(QWidget& window);
