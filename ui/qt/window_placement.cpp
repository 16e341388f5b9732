#include "ui/qt/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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
  // Centred on the whole screen, as the dialogs always were; but kept off a panel
  // (the free area's edge) where the window fits beside it.
  const QRect free = screen->availableGeometry();
  QPoint at(area.x() + place.x, area.y() + place.y);
  if (outer.width() <= free.width() && outer.height() <= free.height()) {
    at.setX(std::clamp(at.x(), free.left(), free.right() + 1 - outer.width()));
    at.setY(std::clamp(at.y(), free.top(), free.bottom() + 1 - outer.height()));
  }
  const QMargins known = KnownFrame(window);
  window.move(at.x() + frame.left() - known.left(), at.y() + frame.top() - known.top());
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

// Makes `window` no larger than RoomOnScreen, and no smaller than its minimum.
void BoundToRoom(QWidget& window);

// Places the window once more, with its real frame, as soon as that is known,
// and then goes. A window the user may resize is first made to fit with that
// frame too, where a guessed one was too small. Which event comes first then differs between window
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
      if (window_.minimumSize() != window_.maximumSize()) {
        BoundToRoom(window_);
      }
      PlaceFrame(window_, KnownFrame(window_));  // no move when the guess was right
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
};

}  // namespace

QSize RoomOnScreen(const QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return {};
  }
  QMargins frame = ExpectedFrame(window);
  if (frame.isNull()) {
    // Nothing known yet: room for a title bar and borders of the window's font.
    const int line = window.fontMetrics().height();
    frame = QMargins(line / 2, 2 * line, line / 2, line / 2);
  }
  return screen->availableGeometry().size().shrunkBy(frame);
}

void ShrinkFontToFit(QWidget& window, const std::function<QSize()>& needed) {
  const QSize room = RoomOnScreen(window);
  // A few rounds: texts and margins do not all shrink in proportion.
  for (int round = 0; round < 3 && !room.isEmpty(); ++round) {
    const QSize size = needed();
    const qreal scale = std::min(qreal(room.width()) / std::max(1, size.width()),
                                 qreal(room.height()) / std::max(1, size.height()));
    if (scale >= 1.0) {
      return;
    }
    QFont font = window.font();
    constexpr qreal kMargin = 0.97;
    if (font.pointSizeF() > 0) {
      font.setPointSizeF(font.pointSizeF() * scale * kMargin);
    } else {
      font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale * kMargin)));
    }
    window.setFont(font);
  }
}

void FitOnScreen(QWidget& window) {
  ShrinkFontToFit(window,
                  [&window] { return window.minimumSizeHint().expandedTo(window.minimumSize()); });
  BoundToRoom(window);
}

namespace {

void BoundToRoom(QWidget& window) {
  const QSize room = RoomOnScreen(window);
  if (!room.isEmpty()) {
    window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
  }
}

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
