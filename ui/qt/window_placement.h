#pragma once

class QWidget;

/// Moves `window` (its outer frame) to its centred place on the primary screen,
/// keeping its size. Every window calls it before it is first shown. A frame
/// that a window manager adds only once the window is shown is counted too:
/// the window is placed once more as soon as that frame is known.
void CenterWindow(QWidget& window);
