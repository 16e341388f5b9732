#pragma once

// Where the windows of Korvalo and of its recorder go, and how they keep to
// the screen.

#include <QSize>
#include <functional>

class QWidget;

/// The room `window` may take on the primary screen: the free area (without
/// panels) less the window's frame, or its owner's while its own is not
/// known, or room for a title bar and borders while neither is.
QSize RoomOnScreen(const QWidget& window);

/// Makes `window`'s font smaller where `needed` (the window's smallest size,
/// measured again after each change) exceeds RoomOnScreen: a very large font
/// on a small screen, where the window must still fit to be of use.
void ShrinkFontToFit(QWidget& window, const std::function<QSize()>& needed);

/// Makes `window` (laid out by its layout) fit RoomOnScreen: its font smaller
/// where even its smallest size would not fit, then the window no larger than
/// the room. For windows the user may resize; call before CenterWindow.
void FitOnScreen(QWidget& window);

/// Moves `window` (its outer frame) to its centred place on the primary screen,
/// keeping its size. Every window calls it before it is first shown. A frame
/// that a window manager adds only once the window is shown is counted too:
/// the window is placed once more as soon as that frame is known.
void CenterWindow(QWidget& window);
