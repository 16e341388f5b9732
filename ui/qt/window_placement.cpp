#include "ui/qt/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/window_rules.h"

namespace {

// The frame round `window` as far as the platform has told it: none until a
// window manager has put one round the shown window.
QMargins KnownFrame(const QWidget& window) {
  const QRect outer = window.frameGeometry();
  const QRect inner = window.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

// Moves `window` so that a frame of `frame` round it lands on the frame's
// centred place. Qt moves the known frame, or the window itself while it knows none.
void PlaceFrame(QWidget& window, const QMargins& frame) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  const QSize outer = window.size().grownBy(frame);
  const QRect area = screen->geometry();
  const WindowPosition place =
      CenteredPosition(area.width(), area.height(), outer.width(), outer.height());
  const QMargins known = KnownFrame(window);
  window.move(area.x() + place.x + frame.left() - known.left(),
              area.y() + place.y + frame.top() - known.top());
}

// A window manager tells a window's frame only once the window is shown. Until
// then the frame of its owner, drawn by the same window manager, is the best
// guess; without one the window is placed as if it had no frame.
QMargins ExpectedFrame(const QWidget& window) {
  const QMargins own = KnownFrame(window);
  const QWidget* owner =
      window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  return own.isNull() && owner != nullptr && owner->isVisible() ? KnownFrame(*owner) : own;
}

// Places the window once more, with its real frame, as soon as that is known,
// and then goes. Which event comes first then differs between window
// managers, so every event of the window looks.
class FramePlacer : public QObject {
 public:
  explicit FramePlacer(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* /*event*/) override {
    if (window_.isVisible() && !KnownFrame(window_).isNull()) {
      window_.removeEventFilter(this);
      PlaceFrame(window_, KnownFrame(window_));  // no move when the guess was right
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
};

}  // namespace

void CenterWindow(QWidget& window) {
  window.ensurePolished();
  // The native window, once made, knows the frame the platform puts round it.
  (void)window.winId();
  PlaceFrame(window, ExpectedFrame(window));
  if (KnownFrame(window).isNull()) {
    new FramePlacer(window);  // owned by the window
  }
}
