#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowPosition CenteredPosition(int screenWidth, int screenHeight, int windowWidth,
                                int windowHeight) {
  // C++ division truncates toward zero, so a window wider than the screen by
  // 5 pixels lands at -2, not -3.
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

void CenterWindow(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  window.ensurePolished();
  // The native window, once made, knows the frame the platform puts round it.
  (void)window.winId();
  const QSize frame = window.frameGeometry().size();
  const QRect area = screen->geometry();
  const WindowPosition place =
      CenteredPosition(area.width(), area.height(), frame.width(), frame.height());
  window.move(area.x() + place.x, area.y() + place.y);
}
